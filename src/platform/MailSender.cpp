#include "MailSender.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUuid>

#include <algorithm>

namespace vm::platform {

namespace {

const QString kDefaultProgram = QStringLiteral("/usr/sbin/sendmail");
constexpr int kBase64LineLength = 76;
constexpr int kQuotedPrintableLineLength = 75;  // plus the soft break "="

constexpr qsizetype kLongestPlainLine = 900;  // well inside the 998 of RFC 5322

bool isPlainAscii(const QByteArray& bytes)
{
    return std::none_of(bytes.cbegin(), bytes.cend(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x80 || (u < 0x20 && c != '\n' && c != '\t');
    });
}

// A header value on one line: line breaks would start new headers.
QString oneLine(QString value)
{
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

// RFC 2047 encoded word for a header value that is not plain ASCII.
QByteArray headerText(const QString& value)
{
    QByteArray utf8 = oneLine(value).toUtf8();
    if (isPlainAscii(utf8))
        return utf8;
    return "=?utf-8?B?" + utf8.toBase64() + "?=";
}

// A quoted string parameter value ("fserror.log"), encoded when not ASCII.
QByteArray parameterValue(const QString& value)
{
    QByteArray text = headerText(value);
    text.replace('\\', "\\\\");
    text.replace('"', "\\\"");
    return '"' + text + '"';
}

QByteArray wrapped(const QByteArray& text, int width)
{
    QByteArray out;
    out.reserve(text.size() + text.size() / width + 2);
    for (qsizetype i = 0; i < text.size(); i += width)
        out += text.mid(i, width) + '\n';
    return out;
}

// Quoted-printable (RFC 2045) of text with LF line ends.
QByteArray quotedPrintable(const QByteArray& text)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QByteArray& line = lines[n];
        int column = 0;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const auto c = static_cast<unsigned char>(line[i]);
            const bool last = i + 1 == line.size();
            QByteArray piece;
            if ((c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last))
                piece = QByteArray(1, char(c));
            else
                piece = QByteArray{"="} + hex[c >> 4] + hex[c & 15];
            if (column + piece.size() > kQuotedPrintableLineLength) {
                out += "=\n";
                column = 0;
            }
            out += piece;
            column += int(piece.size());
        }
        if (n + 1 < lines.size())
            out += '\n';
    }
    return out;
}

QByteArray textPart(const QString& body)
{
    QByteArray text = body.toUtf8();
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    QByteArray part = "Content-Type: text/plain; charset=\"utf-8\"\n";
    const QList<QByteArray> lines = text.split('\n');
    const bool shortLines = std::all_of(lines.begin(), lines.end(),
                                        [](const QByteArray& line) { return line.size() <= kLongestPlainLine; });
    if (isPlainAscii(text) && shortLines) {
        part += "Content-Transfer-Encoding: 7bit\n\n" + text;
    } else {
        part += "Content-Transfer-Encoding: quoted-printable\n\n" + quotedPrintable(text);
    }
    // The line break before the next boundary belongs to the boundary.
    return part;
}

bool attachmentPart(const MailAttachment& attachment, QByteArray& part)
{
    QByteArray bytes;
    if (attachment.content) {
        bytes = *attachment.content;
    } else {
        QFile file(attachment.filePath);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        bytes = file.readAll();
    }
    const QString name = attachment.displayName.isEmpty() ? QFileInfo(attachment.filePath).fileName()
                                                          : attachment.displayName;
    part = "Content-Type: application/octet-stream; name=" + parameterValue(name) + "\n" +
           "Content-Transfer-Encoding: base64\n" + "Content-Disposition: attachment; filename=" + parameterValue(name) +
           "\n\n" + wrapped(bytes.toBase64(), kBase64LineLength);
    return true;
}

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.kill();
    process.waitForFinished(1000);
}

}  // namespace

Replaceable<Sendmail>& sendmail()
{
    static Replaceable<Sendmail> inForce;
    return inForce;
}

QString mailProgram()
{
    if (!sendmail()->program.isEmpty())
        return sendmail()->program;
    const QString fromEnvironment = qEnvironmentVariable("VM_SENDMAIL");
    return fromEnvironment.isEmpty() ? kDefaultProgram : fromEnvironment;
}

int mailTimeoutMs() { return sendmail()->timeoutMs; }

QByteArray composeMime(const MailMessage& message, const QByteArray& boundary)
{
    QByteArray mime;
    mime += "To: " + headerText(message.to.join(QStringLiteral(", "))) + "\n";
    mime += "Subject: " + headerText(message.subject) + "\n";
    mime += "MIME-Version: 1.0\n";
    mime += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\n";
    mime += "\nThis is a multi-part message in MIME format.\n";
    mime += "\n--" + boundary + "\n" + textPart(message.body);
    for (const MailAttachment& attachment : message.attachments) {
        QByteArray part;
        if (attachmentPart(attachment, part))
            mime += "\n--" + boundary + "\n" + part;
    }
    mime += "\n--" + boundary + "--\n";
    return mime;
}

bool sendMail(const MailMessage& message) { return deliverMail(message).isEmpty(); }

QString deliverMail(const MailMessage& message)
{
    const QString program = mailProgram();
    try {
        const QByteArray boundary = "=_RiVaVaz_" + QUuid::createUuid().toByteArray(QUuid::Id128);
        const QByteArray mime = composeMime(message, boundary);

        QDeadlineTimer deadline(mailTimeoutMs());
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(program, {QStringLiteral("-t"), QStringLiteral("-i")});
        if (!process.waitForStarted(int(deadline.remainingTime()))) {
            stop(process);
            return QStringLiteral("the mail program %1 could not be started").arg(program);
        }
        process.write(mime);
        process.closeWriteChannel();
        while (process.bytesToWrite() > 0 && !deadline.hasExpired()) {
            if (!process.waitForBytesWritten(int(deadline.remainingTime())))
                break;
        }
        if (!process.waitForFinished(int(std::max<qint64>(deadline.remainingTime(), 0)))) {
            stop(process);
            return QStringLiteral("the mail program %1 did not finish in time").arg(program);
        }
        if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
            return {};
        const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed().section(u'\n', 0, 0);
        QString why = process.exitStatus() == QProcess::NormalExit
                          ? QStringLiteral("the mail program %1 refused the message (exit status %2)")
                                .arg(program)
                                .arg(process.exitCode())
                          : QStringLiteral("the mail program %1 stopped without sending").arg(program);
        if (!said.isEmpty())
            why += QStringLiteral(": ") + said;
        return why;
    } catch (...) {
        return QStringLiteral("the message could not be handed to the mail program %1").arg(program);
    }
}

}  // namespace vm::platform
