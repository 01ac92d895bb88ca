#pragma once
// Sending a composed e-mail to an SMTP server with libcurl: the envelope
// sender and recipients, a login when one is given, STARTTLS whenever the
// server offers it. What the server answered is kept, so that a refusal can
// be told in its own words.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vm::platform {

struct SmtpServer {
    QString host;   // "host", "host:port" or a smtp:// or smtps:// URL
    QString login;  // none: no authentication
    QString password;
    int timeoutMs = 60000;  // for the whole conversation
};

// Hands `message` (MIME text, LF or CR LF line ends) to `server` with the
// envelope sender `from` for `recipients`. Returns an empty text when the
// server accepted it, else one line saying why not: curl's reason and the
// server's last reply. Never raises.
QString sendSmtp(const SmtpServer& server, const QString& from, const QStringList& recipients,
                 const QByteArray& message);

}  // namespace vm::platform
