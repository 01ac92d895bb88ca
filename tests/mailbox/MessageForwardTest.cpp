// A message forwarded by e-mail, end to end: through a real SMTP server on
// this machine (with and without a login, refusing) and through a stand-in
// mail program; what arrives is read back by a MIME parser.
#include "mailbox/MessageForward.h"

#include "mailbox/MessageRefusal.h"
#include "platform/MailSender.h"
#include "support/SmtpSink.h"
#include "support/TempAppFolder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vm::mailbox {
namespace {

const QString kName = QStringLiteral("101_1204153012_1_3_5551234.wav");

// A whole WAV file whose sound holds every byte value.
QByteArray wave()
{
    QByteArray sound;
    for (int i = 0; i < 4096; ++i)
        sound += char(i * 7);
    const auto le = [](std::uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    return "RIFF" + le(36 + 4096) + "WAVEfmt " + le(16) + QByteArray("\x01\x00\x01\x00", 4) + le(8000) + le(16000) +
           QByteArray("\x02\x00\x10\x00", 4) + "data" + le(4096) + sound;
}

struct Case {
    const char* what;
    QStringList server;  // the sink's options
    QString login, password, to;
    QString refusal;  // after "PATH: not sent: "; empty when sent
    QString from;     // the envelope's login line
};

TEST(MessageForward, ArrivesWithTheTemplateAndTheMessagesBytesOrTheServersReplySaysWhyNot)
{
    test::TempAppFolder folder;
    folder.write(QStringLiteral("data/VmSave/") + kName, wave());
    const QString path = folder.file(QStringLiteral("data/VmSave/") + kName);
    const QStringList login = {QStringLiteral("--login"), QStringLiteral("vm:pa55")};
    const Case cases[] = {
        {"no login", {}, {}, {}, "ops@example.com", {}, "login="},
        {"login", login, "vm", "pa55", " ops@example.com ", {}, "login=vm"},
        {"wrong password",
         login,
         "vm",
         "nope",
         "ops@example.com",
         "Login denied; the server said: 535 5.7.8 Authentication credentials invalid",
         {}},
        {"recipient refused",
         {QStringLiteral("--refuse"), QStringLiteral("ops@example.com")},
         {},
         {},
         "ops@example.com",
         "RCPT failed: 550; the server said: 550 5.1.1 <ops@example.com>: Recipient address rejected: User unknown",
         {}},
        {"no address", {}, {}, {}, "ops at example.com", "\"ops at example.com\" is no e-mail address", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::SmtpSink sink(c.server);
        if (!sink.available())
            GTEST_SKIP() << "python3 with aiosmtpd is not installed";
        ForwardSettings settings{true,       sink.server(), "vm@example.com",    c.login,
                                 c.password, "New message", "Hello,\r\nline two"};
        QString said;
        try {
            said = forwardMessage(path, c.to, settings);
        } catch (const MessageRefusal& r) {
            said = r.line();
        }
        if (!c.refusal.isEmpty()) {
            EXPECT_EQ(said.toStdString(), (path + ": not sent: " + c.refusal).toStdString());
            EXPECT_EQ(sink.count(), 0);
            continue;
        }
        EXPECT_EQ(said.toStdString(), ("sent " + kName + " to ops@example.com through " + sink.server()).toStdString());
        const QStringList expected = {"from=vm@example.com",
                                      "to=ops@example.com",
                                      c.from,
                                      "To=ops@example.com",
                                      "Subject=New message",
                                      "MIME-Version=1.0",
                                      "Type=multipart/mixed",
                                      "Defects=0",
                                      "Part=text/plain|None|" + QByteArray("Hello,\nline two").toBase64(),
                                      "Part=application/octet-stream|" + kName + "|" + wave().toBase64()};
        EXPECT_EQ(sink.received(0).join('\n').toStdString(), expected.join('\n').toStdString());
    }
}

TEST(MessageForward, TheMailProgramTakesTheSameMessageOrItsRefusalIsTold)
{
    test::TempAppFolder folder;
    folder.write(QStringLiteral("data/VmSave/") + kName, wave());
    const QString path = folder.file(QStringLiteral("data/VmSave/") + kName);
    const QTemporaryDir bin;
    const QString taken = bin.filePath(QStringLiteral("taken.eml"));
    const QString takes = test::writeScript(bin.filePath(QStringLiteral("takes")), "cat > " + taken.toUtf8() + "\n");
    const QString refuses = test::writeScript(bin.filePath(QStringLiteral("refuses")),
                                              "cat > /dev/null; echo 'no route to example.com' >&2; exit 75\n");
    const ForwardSettings settings{false, {}, {}, {}, {}, "New message", "Hello,\r\nline two"};
    {
        const auto scope = platform::sendmail().replace({takes, 10000});
        EXPECT_EQ(forwardMessage(path, "ops@example.com", settings),
                  "sent " + kName + " to ops@example.com with the mail program " + takes);
    }
    const QStringList expected = {"To=ops@example.com",
                                  "Subject=New message",
                                  "MIME-Version=1.0",
                                  "Type=multipart/mixed",
                                  "Defects=0",
                                  "Part=text/plain|None|" + QByteArray("Hello,\nline two").toBase64(),
                                  "Part=application/octet-stream|" + kName + "|" + wave().toBase64()};
    EXPECT_EQ(test::parseMime(taken).join('\n').toStdString(), expected.join('\n').toStdString());

    const auto scope = platform::sendmail().replace({refuses, 10000});
    try {
        forwardMessage(path, "ops@example.com", settings);
        ADD_FAILURE() << "sent";
    } catch (const MessageRefusal& r) {
        EXPECT_EQ(r.line(), path + ": not sent: the mail program " + refuses +
                                " refused the message (exit status 75): no route to example.com");
    }
}

}  // namespace
}  // namespace vm::mailbox
