#include "MessageForward.h"

#include "MessageListing.h"
#include "MessageOperations.h"
#include "MessageRefusal.h"

#include "platform/MailSender.h"
#include "platform/ShownText.h"
#include "platform/SmtpMail.h"

#include <QDateTime>
#include <QUuid>

#include <algorithm>

namespace vm::mailbox {

namespace {

constexpr std::int64_t kLargestAttachment = 64 << 20;

// One plain address: the envelope and the To line take it as it is.
bool isPlainAddress(const QString& address)
{
    const qsizetype at = address.indexOf(u'@');
    const bool oddCharacter = std::any_of(address.begin(), address.end(), [](QChar c) {
        return c.isSpace() || c.category() == QChar::Other_Control || c == u',' || c == u';' || c == u'<' ||
               c == u'>' || c == u'"';
    });
    return at > 0 && at == address.lastIndexOf(u'@') && at + 1 < address.size() && !oddCharacter;
}

QByteArray wholeContent(const CheckedMessage& m)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(m.size));
    m.content().forEachPiece([&](QByteArrayView piece) { bytes.append(piece); });
    return bytes;
}

}  // namespace

ForwardSettings forwardSettingsOf(const config::Settings& s)
{
    return {s.ForwardEmailMechanism == QLatin1String("SMTP"),
            s.ForwardEmailSmtpServer,
            s.ForwardEmailSmtpEmailAddress,
            s.ForwardEmailSmtpLoginName,
            s.ForwardEmailSmtpLoginPassword,
            s.ForwardEmailSubject,
            s.ForwardEmailBody};
}

QString forwardAddressOf(const MailboxTable& table, const QString& messageName)
{
    const std::int16_t i = table.find(leadingId(messageName));
    return i >= 1 ? table.at(i).EmailForward.trimmed() : QString();
}

QString forwardMessage(const QString& path, const QString& address, const ForwardSettings& settings)
{
    const QString to = address.trimmed();
    const auto refuse = [&](const QString& why) {
        throw MessageRefusal(QStringLiteral("%1: not sent: %2").arg(path, why));
    };
    if (!isPlainAddress(to))
        refuse(to.isEmpty() ? QStringLiteral("no e-mail address given")
                            : QStringLiteral("\"%1\" is no e-mail address").arg(to));
    if (settings.smtp && settings.smtpServer.trimmed().isEmpty())
        refuse(QStringLiteral("no SMTP server is set on the Email tab"));
    if (settings.smtp && !isPlainAddress(settings.returnAddress.trimmed()))
        refuse(QStringLiteral("the Email tab's return address \"%1\" is no e-mail address")
                   .arg(settings.returnAddress.trimmed()));

    const CheckedMessage m = checkedMessage(path);
    // The message is encoded whole in memory; mail servers take far less anyway.
    if (m.size > kLargestAttachment)
        refuse(
            QStringLiteral("%1 bytes are more than an e-mail takes (at most %2)").arg(m.size).arg(kLargestAttachment));
    platform::MailMessage mail;
    mail.to = QStringList{to};
    mail.subject = settings.subject;
    mail.body = settings.body;
    mail.attachments << platform::MailAttachment{m.path, platform::withControlsEscaped(m.name), wholeContent(m)};

    if (!settings.smtp) {
        const QString why = platform::deliverMail(mail);
        if (!why.isEmpty())
            refuse(why);
        return QStringLiteral("sent %1 to %2 with the mail program %3").arg(m.name, to, platform::mailProgram());
    }
    const QString from = settings.returnAddress.trimmed();
    const QByteArray boundary = "=_RiVaVaz_" + QUuid::createUuid().toByteArray(QUuid::Id128);
    // The mail program fills these in itself; a server takes them as given.
    const QByteArray mime = "From: " + from.toUtf8() +
                            "\nDate: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toUtf8() + "\n" +
                            platform::composeMime(mail, boundary);
    platform::SmtpServer server;
    server.host = settings.smtpServer;
    server.login = settings.login;
    server.password = settings.password;
    const QString why = platform::sendSmtp(server, from, {to}, mime);
    if (!why.isEmpty())
        refuse(why);
    return QStringLiteral("sent %1 to %2 through %3").arg(m.name, to, settings.smtpServer.trimmed());
}

}  // namespace vm::mailbox
