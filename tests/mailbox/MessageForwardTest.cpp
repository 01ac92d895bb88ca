// A message forwarded by e-mail, end to end: through a real SMTP server on
// this machine (with and without a login, refusing) and through stand-in
// mail programs; what arrives is read back by a MIME parser.
#include "mailbox/MessageForward.h"

#include "mailbox/MessageRefusal.h"
#include "platform/MailSender.h"
#include "support/SmtpSink.h"
#include "support/TempAppFolder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vm::mailbox {
namespace {

TEST(MessageForward, ArrivesWithTheTemplateAndTheMessagesBytesOrTheReplySaysWhyNot)
{
    const QString name = QStringLiteral("101_1204153012_1_3_5551234.wav");
    QByteArray sound;  // every byte value
    for (int i = 0; i < 4096; ++i)
        sound += char(i * 7);
    const auto le = [](std::uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    const QByteArray wave = "RIFF" + le(36 + 4096) + "WAVEfmt " + le(16) + QByteArray("\x01\x00\x01\x00", 4) +
                            le(8000) + le(16000) + QByteArray("\x02\x00\x10\x00", 4) + "data" + le(4096) + sound;
    test::TempAppFolder folder;
    folder.write(QStringLiteral("data/VmSave/") + name, wave);
    const QString path = folder.file(QStringLiteral("data/VmSave/") + name);
    const QTemporaryDir bin;
    const QString taken = bin.filePath(QStringLiteral("taken.eml"));
    const QString takes = test::writeScript(bin.filePath(QStringLiteral("takes")), "cat > " + taken.toUtf8() + "\n");
    const QString refuses = test::writeScript(bin.filePath(QStringLiteral("refuses")),
                                              "cat > /dev/null; echo 'no route to example.com' >&2; exit 75\n");
    const QStringList login = {QStringLiteral("--login"), QStringLiteral("vm:pa55")};
    const struct {
        const char* what;
        QString program;  // the mail program; none: SMTP to a server with `server` options
        QStringList server;
        QString login, password, to;
        QString said;      // after "sent NAME to ops@example.com ", or after "PATH: not sent: "
        QString envelope;  // what the server took: its envelope's login line
    } cases[] = {
        // clang-format off
        {"mail program", takes, {}, {}, {}, "ops@example.com", "with the mail program " + takes, "-"},
        {"mail program refuses", refuses, {}, {}, {}, "ops@example.com", "the mail program " + refuses + " refused the message (exit status 75): no route to example.com", {}},
        {"no login", {}, {}, {}, {}, "ops@example.com", "through ", "login="},
        {"login", {}, login, "vm", "pa55", " ops@example.com ", "through ", "login=vm"},
        {"wrong password", {}, login, "vm", "nope", "ops@example.com", "Login denied; the server said: 535 5.7.8 Authentication credentials invalid", {}},
        {"recipient refused", {}, {"--refuse", "ops@example.com"}, {}, {}, "ops@example.com", "RCPT failed: 550; the server said: 550 5.1.1 <ops@example.com>: Recipient address rejected: User unknown", {}},
        {"no address", {}, {}, {}, {}, "ops at example.com", "\"ops at example.com\" is no e-mail address", {}},
        {"no domain", {}, {}, {}, {}, "ops@", "\"ops@\" is no e-mail address", {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::SmtpSink sink(c.server);
        if (c.program.isEmpty() && !sink.available())
            GTEST_SKIP() << "python3 with aiosmtpd is not installed";
        const auto program = platform::sendmail().replace({c.program, 10000});
        const bool smtp = c.program.isEmpty();
        QString said;
        try {
            said = forwardMessage(
                path, c.to,
                {smtp, sink.server(), "vm@example.com", c.login, c.password, "New message", "Hello,\r\nline two"});
        } catch (const MessageRefusal& r) {
            said = r.line();
        }
        const QString sent = "sent " + name + " to ops@example.com " + c.said + (smtp ? sink.server() : "");
        EXPECT_EQ(said.toStdString(), (c.envelope.isEmpty() ? path + ": not sent: " + c.said : sent).toStdString());
        const QStringList mail = smtp ? sink.received(0) : test::parseMime(taken);
        const QStringList envelope = {"from=vm@example.com", "to=ops@example.com", c.envelope};
        const QStringList expected = QStringList(smtp ? envelope : QStringList()) +
                                     QStringList{"To=ops@example.com",
                                                 "Subject=New message",
                                                 "MIME-Version=1.0",
                                                 "Type=multipart/mixed",
                                                 "Defects=0",
                                                 "Part=text/plain|None|" + QByteArray("Hello,\nline two").toBase64(),
                                                 "Part=application/octet-stream|" + name + "|" + wave.toBase64()};
        EXPECT_EQ(mail.join('\n').toStdString(), (c.envelope.isEmpty() ? "" : expected.join('\n')).toStdString());
        QFile::remove(taken);
    }
}

}  // namespace
}  // namespace vm::mailbox
