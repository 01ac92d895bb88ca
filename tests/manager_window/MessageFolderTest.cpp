// The one-pass message folder reader finds exactly what a plain directory
// listing finds, in the same order, with sizes and times of each file.
#include "manager_window/MessageFolder.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "support/TempAppFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace vm::manager_window;

namespace {

QStringList names(const std::vector<MessageFile>& files)
{
    QStringList list;
    for (const MessageFile& f : files)
        list << f.name;
    return list;
}

// The plainest listing: files (links followed), no hidden ones, the pattern's
// letter case ignored, ordered ignoring case.
QStringList listFiles(const QString& folder, const QString& pattern)
{
    QStringList listed = QDir(folder).entryList({pattern}, QDir::Files);
    listed.sort(Qt::CaseInsensitive);
    return listed;
}

}  // namespace

TEST(MessageFolder, FindsWhatTheListingFinds)
{
    vm::test::TempAppFolder app;
    const QString folder = app.file(QStringLiteral("data/VmSave/"));
    for (const char* name : {"1_a.wav", "10_b.wav", "1_C.WAV", "2_d.wav", ".1_hidden.wav", "1_e.wav.txt", "x1_f.wav",
                             "1_\xc3\x84rger.wav", "\xc3\xa9t\xc3\xa9_1.wav", "1_g.Wav"})
        app.write(QStringLiteral("data/VmSave/") + QString::fromUtf8(name), "12345");
    QDir(folder).mkdir(QStringLiteral("1_folder.wav"));
    QFile::link(folder + QStringLiteral("1_a.wav"), folder + QStringLiteral("1_link.wav"));
    QFile::link(folder + QStringLiteral("gone"), folder + QStringLiteral("1_dangling.wav"));

    for (const QString& pattern :
         {QStringLiteral("1_*.wav"), QStringLiteral("*.wav"), QStringLiteral("10_*.wav"), QStringLiteral("?_*.WAV"),
          QStringLiteral("\u00c9*"), QStringLiteral("none_*.wav")}) {
        const QStringList expected = listFiles(folder, pattern);
        EXPECT_EQ(names(scanMessageFolder(folder, pattern)), expected) << pattern.toStdString();
        QStringList unordered = names(scanMessageFolder(folder, pattern, ScanOrder::AsFound));
        unordered.sort(Qt::CaseInsensitive);
        EXPECT_EQ(unordered, expected) << pattern.toStdString();
    }
}

TEST(MessageFolder, SizeAndTimeComeFromTheFileAndAVanishedFileRaises)
{
    vm::test::TempAppFolder app;
    const QString folder = app.file(QStringLiteral("data/VmSave/"));
    app.write(QStringLiteral("data/VmSave/7_x.wav"), QByteArray(11025, 'a'));
    QFile file(folder + QStringLiteral("7_x.wav"));
    const QDateTime when(QDate(2026, 2, 3), QTime(4, 5, 6));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(when, QFileDevice::FileModificationTime);
    file.close();

    const auto files = scanMessageFolder(folder, QStringLiteral("7_*.wav"));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].sizeInBytes(folder), 11025);
    EXPECT_EQ(files[0].lastWriteSecs(folder), when.toSecsSinceEpoch());

    MessageFile vanished = files[0];
    vanished.statusErrno = ENOENT;
    try {
        (void)vanished.sizeInBytes(folder);
        FAIL() << "no error";
    } catch (const vm::platform::RuntimeError& e) {
        EXPECT_EQ(e.number(), 53);
    }
    EXPECT_TRUE(scanMessageFolder(folder + QStringLiteral("missing/"), QStringLiteral("*")).empty());
}

// Names that differ only in letter case tie in the order: each is still
// listed once, by the file layer and by the one-pass reader.
TEST(MessageFolder, NamesEqualButForLetterCaseAreEachListedOnce)
{
    vm::test::TempAppFolder app;
    QStringList made;
    for (int variant = 0; variant < 32; ++variant) {
        made << QStringLiteral("1_abcde.wav");
        for (int k = 0; k < 5; ++k)
            made.last()[2 + k] = variant >> k & 1 ? made.last()[2 + k].toUpper() : made.last()[2 + k];
        app.write(QStringLiteral("data/VmSave/") + made.last(), "x");
    }
    made.sort();
    const QString folder = app.file(QStringLiteral("data/VmSave/"));
    for (QStringList listed : {names(scanMessageFolder(folder, "1_*")), listFiles(folder, "1_*")})
        EXPECT_EQ((listed.sort(), listed), made);
}
