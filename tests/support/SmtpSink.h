#pragma once
// A real SMTP server on 127.0.0.1 for the e-mail tests (smtp_sink.py, on
// python3's aiosmtpd), and what it received, read back by a MIME parser.

#include "support/MailCheck.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace vm::test {

class SmtpSink {
public:
    // `options` as smtp_sink.py takes them (--login USER:PASSWORD, --refuse ADDRESS).
    explicit SmtpSink(const QStringList& options = {})
    {
        for (const QString& python : {QStringLiteral("python3"), QStringLiteral("/usr/bin/python3")}) {
            QProcess probe;
            probe.setStandardErrorFile(QProcess::nullDevice());
            probe.start(python, {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")});
            if (!probe.waitForFinished(20000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
                continue;
            server_.start(python,
                          QStringList{QStringLiteral(VM_SMTP_SINK), QStringLiteral("--out"), out_.path()} + options);
            if (server_.waitForReadyRead(20000))
                port_ = QString::fromLatin1(server_.readLine()).trimmed();
            return;
        }
    }
    ~SmtpSink()
    {
        server_.closeWriteChannel();
        if (!server_.waitForFinished(5000))
            server_.kill();
        server_.waitForFinished(1000);
    }
    SmtpSink(const SmtpSink&) = delete;
    SmtpSink& operator=(const SmtpSink&) = delete;

    // False when python3 with aiosmtpd is not installed: the test is skipped.
    bool available() const { return !port_.isEmpty(); }
    QString server() const { return QStringLiteral("127.0.0.1:") + port_; }
    int count() const { return int(QDir(out_.path()).entryList({QStringLiteral("*.eml")}).size()); }
    // Message `n`'s envelope ("from=", "to=", "login=") and its MIME facts (parseMime).
    QStringList received(int n) const
    {
        QFile env(out_.filePath(QStringLiteral("%1.env").arg(n)));
        if (!env.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(env.readAll()).split(u'\n', Qt::SkipEmptyParts) +
               parseMime(out_.filePath(QStringLiteral("%1.eml").arg(n)));
    }

private:
    QTemporaryDir out_;
    QProcess server_;
    QString port_;
};

}  // namespace vm::test
