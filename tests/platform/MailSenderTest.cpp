// Mail through the sendmail interface: the MIME message as a real parser
// reads it, and the mail program's failures, which are never passed on.
#include "platform/MailSender.h"
#include "support/MailCheck.h"
#include "support/TempAppFolder.h"

#include <QDir>
#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace vm::platform {
namespace {

class MailSenderTest : public ::testing::Test {
protected:
    QString file(const QString& name) const { return app_.file(name); }
    test::TempAppFolder app_;
};

TEST_F(MailSenderTest, MessageReadsBackThroughAMimeParser)
{
    QByteArray binary;
    for (int i = 0; i < 256; ++i)
        binary += char(i);
    binary = binary.repeated(3);
    app_.write(QStringLiteral("report.bin"), binary);

    // Text outside ASCII in the subject, a line of a lone ".", a line longer than mail lines may be.
    MailMessage m;
    m.to << QStringLiteral("ops@example.com");
    m.subject = QStringLiteral("Fehlerbericht für Büro");
    m.body = QStringLiteral("Datei nicht gefunden – Müller\r\n.\r\n") + QString(2000, u'x') +
             QStringLiteral(" = tail ");
    m.attachments << MailAttachment{file(QStringLiteral("report.bin")), QStringLiteral("fserror.log")};
    app_.write(QStringLiteral("composed.eml"), composeMime(m, "b0undary"));
    const QString body = QString(m.body).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(
        test::parseMime(file(QStringLiteral("composed.eml"))),
        (QStringList{
            QStringLiteral("To=ops@example.com"), QStringLiteral("Subject=") + m.subject,
            QStringLiteral("MIME-Version=1.0"), QStringLiteral("Type=multipart/mixed"), QStringLiteral("Defects=0"),
            QStringLiteral("Part=text/plain|None|") + QString::fromLatin1(body.toUtf8().toBase64()),
            QStringLiteral("Part=application/octet-stream|fserror.log|") + QString::fromLatin1(binary.toBase64())}));
}

// Plain ASCII goes as it is; other text as quoted-printable, where a blank
// ending a line is written =20 so that no mail system drops it.
TEST_F(MailSenderTest, PlainTextGoesAsItIsAndABlankEndingALineIsEncoded)
{
    MailMessage m;
    m.to << QStringLiteral("ops@example.com");
    m.body = QStringLiteral("a b\tc");
    EXPECT_TRUE(composeMime(m, "b").contains("7bit\n\na b\tc\n--b--")) << composeMime(m, "b").constData();
    m.body = QStringLiteral("\u00fc a \nb");
    EXPECT_TRUE(composeMime(m, "b").contains("quoted-printable\n\n=C3=BC a=20\nb\n--b--"))
        << composeMime(m, "b").constData();
}

TEST_F(MailSenderTest, HeadersCannotBeSplitAndUnreadableAttachmentsAreLeftOut)
{
    MailMessage m;
    m.to << QStringLiteral("ops@example.com\r\nBcc: someone@example.com");
    m.subject = QStringLiteral("a\nX-Injected: yes");
    m.attachments << MailAttachment{file(QStringLiteral("missing.log")), QStringLiteral("fserror.log")};
    const QByteArray mime = composeMime(m, "b");
    EXPECT_FALSE(mime.contains("\nBcc:"));
    EXPECT_FALSE(mime.contains("\nX-Injected:"));
    EXPECT_FALSE(mime.contains("fserror.log"));  // an unreadable attachment is left out
}

TEST_F(MailSenderTest, FailuresOfTheMailProgramAreReportedOnlyAsFalse)
{
    MailMessage m;
    m.to << QStringLiteral("ops@example.com");
    m.body = QString(200000, QLatin1Char('y'));  // more than a pipe holds
    const struct {
        const char* name;
        QByteArray script;
    } programs[] = {
        {"refuses", "exit 75\n"},
        {"notexec.txt", "exit 0\n"},
        {"reads-then-hangs", "cat > /dev/null\nexec sleep 60\n"},  // killed after the time limit
        {"never-reads", "exec sleep 60\n"},
    };
    {
        const auto scope = sendmail().replace({file(QStringLiteral("no-such-program")), 300});
        EXPECT_FALSE(sendMail(m));
    }
    QFile(test::writeScript(file(QStringLiteral("notexec.txt")), "")).setPermissions(QFile::ReadOwner);
    for (const auto& p : programs) {
        const QString path = file(QString::fromLatin1(p.name));
        const auto scope = sendmail().replace({QFile::exists(path) ? path : test::writeScript(path, p.script), 300});
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(sendMail(m)) << p.name;
        EXPECT_LT(timer.elapsed(), 10000) << p.name;
    }
}

}  // namespace
}  // namespace vm::platform
