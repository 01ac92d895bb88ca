#pragma once
// Sending an e-mail through the local mail interface of the system: the
// sendmail program that every mail transfer agent provides, run as
// "sendmail -t -i" with a MIME message on its standard input. Sending is
// best effort and silent: a missing mail program, one that fails and one
// that hangs (it is killed after a time limit) all just report false.

#include "platform/Replaceable.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vm::platform {

struct MailAttachment {
    QString filePath;                                  // the file whose bytes are attached
    QString displayName;                               // the name the recipient sees
    std::optional<QByteArray> content = std::nullopt;  // the bytes, when the caller read them already
};

struct MailMessage {
    QStringList to;
    QString subject;
    QString body;
    QList<MailAttachment> attachments;
};

// The mail program and how long it may take. An empty program means the one
// named by the environment variable VM_SENDMAIL, else /usr/sbin/sendmail.
struct Sendmail {
    QString program;
    int timeoutMs = 20000;
};
Replaceable<Sendmail>& sendmail();

// The program and time limit in force.
QString mailProgram();
int mailTimeoutMs();

// The message as MIME text with LF line ends, the form the mail program
// reads: To, Subject, MIME-Version and a multipart/mixed Content-Type with a
// text part for the body and a base64 part per attachment. An attachment
// whose file cannot be read is left out.
QByteArray composeMime(const MailMessage& message, const QByteArray& boundary);

// Composes and hands the message to the mail program. Returns true when the
// program accepted it (exit code 0). Never raises, never shows anything.
bool sendMail(const MailMessage& message);

// The same, saying why not: empty when the program accepted the message,
// else one line naming the program and what went wrong (it could not be
// started, it took too long, or its exit status and first line of errors).
QString deliverMail(const MailMessage& message);

}  // namespace vm::platform
