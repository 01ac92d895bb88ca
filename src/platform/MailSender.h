#pragma once
// Sending an e-mail through the local mail interface of the system: the
// sendmail program that every mail transfer agent provides, run as
// "sendmail -t -i" with a MIME message on its standard input. Sending is
// best effort and silent: a missing mail program, one that fails and one
// that hangs (it is killed after a time limit) all just report false.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace vm::mail {

struct Attachment {
    QString filePath;     // the file whose bytes are attached
    QString displayName;  // the name the recipient sees
};

struct Message {
    QStringList to;
    QString subject;
    QString body;
    QList<Attachment> attachments;
};

// The mail program: the one set here, else the one named by the environment
// variable VM_SENDMAIL, else /usr/sbin/sendmail.
QString mailProgram();
void setMailProgram(const QString& path);  // empty restores the default

// How long the mail program may take, in milliseconds (default 20000).
int mailTimeoutMs();
void setMailTimeoutMs(int milliseconds);

// The message as MIME text with LF line ends, the form the mail program
// reads: To, Subject, MIME-Version and a multipart/mixed Content-Type with a
// text part for the body and a base64 part per attachment. An attachment
// whose file cannot be read is left out.
QByteArray composeMime(const Message& message, const QByteArray& boundary);

// Composes and hands the message to the mail program. Returns true when the
// program accepted it (exit code 0). Never raises, never shows anything.
bool sendMail(const Message& message);

}  // namespace vm::mail
