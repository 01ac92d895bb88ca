#pragma once
// Forwarding a message by e-mail, by hand, from the window's message menus
// and from vmbox: the message goes as a WAV attachment, with the subject and
// body of the Email tab's template, by the method the tab selects (through
// the SMTP server with the return address, or the system's mail program).
// Nothing is written to the application folder.

#include "config/Settings.h"
#include "mailbox/MailboxTable.h"

#include <QString>

namespace vm::mailbox {

struct ForwardSettings {
    bool smtp = false;  // else the system's mail program (sendmail -t -i)
    QString smtpServer;
    QString returnAddress;
    QString login;  // none: the server is not asked to authenticate
    QString password;
    QString subject;
    QString body;  // line breaks CR LF or LF
};

// The method and template as QV.INI and the body file hold them.
ForwardSettings forwardSettingsOf(const config::Settings& settings);

// Where a message of the box goes unless the operator says otherwise: its
// box's forwarding e-mail address; "" when the box is not in `table`.
QString forwardAddressOf(const MailboxTable& table, const QString& messageName);

// Sends the message at `path`, checked as the other message operations
// check it, to `address`. Returns the line saying what was sent where.
// Raises MessageRefusal, one line naming the file and the reason (the
// address, the settings, the message, or the server's or mail program's
// reply), when it was not sent; other failures of the file layer raise their
// run-time error.
QString forwardMessage(const QString& path, const QString& address, const ForwardSettings& settings);

}  // namespace vm::mailbox
