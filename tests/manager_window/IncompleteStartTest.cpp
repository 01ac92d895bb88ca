// A start-up that could not take everything: the operator is told once,
// without the window being held up, and the close keeps the version of every
// file it replaces before it writes what it always writes. The counts the
// window shows fit their places at their largest.
#include "WindowTestSupport.h"

#include "support/Digest.h"
#include "support/FaultInjection.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QMessageBox>
#include <QRandomGenerator>

#include <sys/stat.h>

namespace vm::test {
namespace {

TEST_F(WindowTest, AnIncompleteStartIsToldOnceAndItsCloseKeepsTheFilesItReplaces)
{
    const QByteArray two = mailboxFile({mailboxLine("2", "2"), mailboxLine("1", "1")});
    QByteArrayList many;
    for (int i = 1; i <= 40000; ++i)
        many << mailboxLine(QString::number(i), "1");
    QByteArray garbage(10 << 20, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(garbage.data()), garbage.size() / 4);
    const QString text = QString::fromLatin1(two);
    const QByteArray utf16 = "\xff\xfe" + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const struct {
        const char* name;
        QByteArray list, limit;
        const char* unreadable = nullptr;  // the file whose reads fail at the start
        int error = 0;
    } cases[] = {
        {"complete", two, "RecLengthMax=60"},
        {"40,000 boxes", mailboxFile(many), {}},
        {"a 40,000-character description", mailboxFile({mailboxLine("1", "1", QString(40000, u'd'))}) + two, {}},
        {"UTF-16", utf16, {}},
        {"10 MB of garbage", garbage, {}},
        {"cut off in its last line", two.left(two.indexOf("</VoicemailBoxes>") - 30), {}},
        {"not a number", two, "RecLengthMax=300s"},
        {"no number", two, "RecLengthMax=abc"},
        {"too large", two, "RecLengthMax=40000"},
        {"a copy fails: nothing is written", two, "RecLengthMin=x"},
        {"QV.INI cannot be read", two, {}, "QV.INI", EIO},
        {"no memory for the body", two, {}, "VmEmailForwardBody.txt", kNoMemory},
    };
    QStringList pin;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempAppFolder app;  // the shared files as the engine may keep them: for its group only
        app.write(QStringLiteral("data/VmBoxList.xml"), c.list);
        app.write(QStringLiteral("QV.INI"), "[Voicemail]\r\nForwardEmailSubject=s\r\n" + c.limit + "\r\nFtpUser=u\r\n");
        app.write(QStringLiteral("VmEmailForwardBody.txt"), "body\r\n");
        for (const auto& [name, bytes] : app.contents()) {
            ASSERT_EQ(::chown(QFile::encodeName(app.file(name)).constData(), 1, 1), 0);
            ::chmod(QFile::encodeName(app.file(name)).constData(), 0640);
        }
        bool loaded = false;
        const ScopedFault unreadable([&](FileStep step, const QString& path) {
            return !loaded && c.unreadable && step == FileStep::Read && path.endsWith(QLatin1String(c.unreadable))
                       ? c.error
                       : 0;
        });
        auto& w = load();
        loaded = true;
        QCoreApplication::processEvents();
        w.hide();
        w.show();
        QCoreApplication::processEvents();
        const auto notices = w.findChildren<QMessageBox*>(QStringLiteral("incompleteStartNotice"));
        ASSERT_EQ(notices.size(), c.limit.endsWith("60") ? 0 : 1);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        for (const QMessageBox* notice : notices)
            pin << notice->text().replace(app.path(), QStringLiteral("F"));
        const std::map<QString, QByteArray> before = app.contents();
        {
            const ScopedFault full([&](FileStep step, const QString& path) {  // in the last case only
                return step == FileStep::Rename && path.endsWith(manager_window::kKeptReason) && c.limit.endsWith("=x")
                           ? ENOSPC
                           : 0;
            });
            w.close();
        }

        // The version each file had before the close is kept, byte for byte;
        // the pin shows each kept one's mode, owner and group, and what was
        // written, so a file written without a kept version shows there.
        QStringList kept, changed;
        for (const auto& [name, bytes] : app.contents()) {
            if (name.endsWith(manager_window::kKeptReason)) {
                struct stat st {};
                ::stat(QFile::encodeName(app.file(name)).constData(), &st);
                EXPECT_EQ(bytes, before.at(name.section(u'.', 0, -3))) << name.toStdString();
                kept << name.section(u'.', 0, -3) +
                            QStringLiteral(" %1 %2:%3").arg(st.st_mode & 0777, 0, 8).arg(st.st_uid).arg(st.st_gid);
            } else if (!before.contains(name) || before.at(name) != bytes) {
                changed << name + u' ' + QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(8);
            }
        }
        pin << QStringLiteral("%1: kept %2; wrote %3").arg(c.name, kept.join(u','), changed.join(u','));
    }
    EXPECT_EQ(digest(pin), "a10bbd2d526aede2") << pin.join(u'\n').toStdString();
}

TEST_F(WindowTest, CountsAtTheirLargestShowWholeBeforeTheNextCaption)
{
    QByteArrayList lines;
    for (int i = 1; i <= 32767; ++i)
        lines << mailboxLine(QString::number(i), "1");
    folder.write(QStringLiteral("data/VmBoxList.xml"), mailboxFile(lines));
    for (int i = 0; i < 10000; ++i)
        folder.write(QStringLiteral("data/VmSave/1_%1_%2_1_.wav").arg(i, 10, 10, QLatin1Char('0')).arg(i % 2), {});
    load();
    clickBox(1);
    // Each label ends where the next caption (or the tab's edge) begins.
    QStringList counts;
    for (int i = 0; i < 3; ++i) {
        const QLabel& count = *label("lblMsgCount", i);
        const QRect place = count.geometry().intersected(count.parentWidget()->rect());
        EXPECT_LT(count.x() + QFontMetrics(count.font()).horizontalAdvance(count.text()), place.x() + place.width());
        counts << count.text();
    }
    EXPECT_EQ(counts, QStringList({"5000", "5000", "32767"}));
}

}  // namespace
}  // namespace vm::test
