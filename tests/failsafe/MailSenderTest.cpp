// Mail through the sendmail interface: the MIME message as a real parser
// reads it, and the mail program's failures, which are never passed on.
#include "ErrorFixture.h"

#include "platform/MailSender.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vm::mail {
namespace {

class MailSenderTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        setMailProgram({});
        setMailTimeoutMs(20000);
    }
    QString file(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }
    QTemporaryDir dir_;
};

QString base64Of(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toBase64());
}

TEST_F(MailSenderTest, MessageReadsBackThroughAMimeParser)
{
    QByteArray binary;
    for (int i = 0; i < 256; ++i)
        binary += char(i);
    binary = binary.repeated(3);
    QFile f(file(QStringLiteral("report.bin")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(binary);
    f.close();

    struct Case {
        QString subject;
        QString body;
    } cases[] = {
        {QStringLiteral("Remote Error Report From RiVaVaz"), QStringLiteral("Plain body.\r\nSecond line.")},
        {QStringLiteral("Fehlerbericht für Büro"), QStringLiteral("Datei nicht gefunden – Müller\r\n.\r\nend")},
        {QStringLiteral("long"), QString(2000, QLatin1Char('x')) + QStringLiteral(" = tail ")},
    };
    for (const Case& c : cases) {
        Message m;
        m.to << QStringLiteral("ops@example.com");
        m.subject = c.subject;
        m.body = c.body;
        m.attachments << Attachment{file(QStringLiteral("report.bin")), QStringLiteral("fserror.log")};
        QFile out(file(QStringLiteral("composed.eml")));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(composeMime(m, "b0undary"));
        out.close();

        QString expectedBody = c.body;
        expectedBody.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        const QStringList parsed = test::parseMime(file(QStringLiteral("composed.eml")));
        ASSERT_EQ(parsed.size(), 7) << parsed.join('\n').toStdString();
        EXPECT_EQ(parsed[0], QStringLiteral("To=ops@example.com"));
        EXPECT_EQ(parsed[1], QStringLiteral("Subject=") + c.subject);
        EXPECT_EQ(parsed[3], QStringLiteral("Type=multipart/mixed"));
        EXPECT_EQ(parsed[4], QStringLiteral("Defects=0"));
        EXPECT_EQ(parsed[5], QStringLiteral("Part=text/plain|None|") + base64Of(expectedBody.toUtf8()));
        EXPECT_EQ(parsed[6], QStringLiteral("Part=application/octet-stream|fserror.log|") + base64Of(binary));
    }
}

TEST_F(MailSenderTest, HeadersCannotBeSplitByTheirValues)
{
    Message m;
    m.to << QStringLiteral("ops@example.com\r\nBcc: someone@example.com");
    m.subject = QStringLiteral("a\nX-Injected: yes");
    const QByteArray mime = composeMime(m, "b");
    EXPECT_FALSE(mime.contains("\nBcc:"));
    EXPECT_FALSE(mime.contains("\nX-Injected:"));
}

TEST_F(MailSenderTest, UnreadableAttachmentIsLeftOut)
{
    Message m;
    m.to << QStringLiteral("ops@example.com");
    m.body = QStringLiteral("body");
    m.attachments << Attachment{file(QStringLiteral("missing.log")), QStringLiteral("fserror.log")};
    EXPECT_FALSE(composeMime(m, "b").contains("fserror.log"));
}

TEST_F(MailSenderTest, FailuresOfTheMailProgramAreReportedOnlyAsFalse)
{
    Message m;
    m.to << QStringLiteral("ops@example.com");
    m.body = QString(200000, QLatin1Char('y'));  // more than a pipe holds

    setMailProgram(file(QStringLiteral("no-such-program")));
    EXPECT_FALSE(sendMail(m));

    setMailProgram(test::writeScript(file(QStringLiteral("refuses")), "exit 75\n"));
    EXPECT_FALSE(sendMail(m));

    setMailProgram(test::writeScript(file(QStringLiteral("notexec.txt")), "exit 0\n"));
    QFile(file(QStringLiteral("notexec.txt"))).setPermissions(QFile::ReadOwner);
    EXPECT_FALSE(sendMail(m));
}

TEST_F(MailSenderTest, HangingMailProgramIsKilledAfterTheTimeLimit)
{
    setMailTimeoutMs(300);
    Message m;
    m.to << QStringLiteral("ops@example.com");
    m.body = QStringLiteral("body");
    const struct {
        const char* name;
        QByteArray script;
    } hangs[] = {
        {"reads-then-hangs", "cat > /dev/null\nexec sleep 60\n"},
        {"never-reads", "exec sleep 60\n"},
    };
    for (const auto& hang : hangs) {
        setMailProgram(test::writeScript(file(QString::fromLatin1(hang.name)), hang.script));
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(sendMail(m)) << hang.name;
        EXPECT_LT(timer.elapsed(), 10000) << hang.name;
    }
}

}  // namespace
}  // namespace vm::mail
