#include "MessageOperations.h"

#include "MessageRefusal.h"
#include "NewMessageFile.h"
#include "SafeFileName.h"
#include "WaveSound.h"

#include "config/Paths.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

#include <algorithm>

namespace vm::mailbox {

namespace {

// A header reaching past this is not read on: the chunks before the data are
// a few dozen bytes in every file the engine or a sound program writes.
constexpr qsizetype kHeaderReach = qsizetype{1} << 20;

[[noreturn]] void refuse(const QString& path, const QString& why)
{
    throw MessageRefusal(QStringLiteral("%1: %2").arg(path, why));
}

// The message folder as the system finds it, links on the way resolved.
QString realFolder(const QString& folder)
{
    const QString real = platform::realPath(folder);
    return real.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : real;
}

MessageNameParts partsOf(const CheckedMessage& m)
{
    const std::optional<MessageNameParts> parts = messageNameParts(m.name);
    if (!parts)
        refuse(m.path, QStringLiteral("the name has no message's form (Id_stamp_marker_line_caller.wav)"));
    return *parts;
}

// A failure of the new file (its name too long, a full disk, no permission
// there) is told as the new file's; a failure to read the message names the
// message already.
platform::RuntimeError targetFailure(const platform::RuntimeError& e, const CheckedMessage& m, const QString& target)
{
    return e.description().startsWith(m.path) ? e : platform::namingFile(e, target);
}

// The stamp as a moment, in a leap year so that 29 February is one.
QDateTime stampMoment(const CheckedMessage& m, const QString& stamp)
{
    QDateTime moment = QDateTime::fromString(QStringLiteral("2000") + stamp, QStringLiteral("yyyyMMddHHmmss"));
    if (!moment.isValid())
        refuse(m.path, QStringLiteral("its stamp %1 is no date and time").arg(stamp));
    return moment;
}

}  // namespace

CheckedMessage checkedMessage(const QString& path)
{
    const QFileInfo info(path);
    CheckedMessage m{info.absoluteFilePath(), info.fileName(), {}, 0, {}, 0};
    // The kind first: a device or FIFO is never opened, wherever it is.
    if (const std::optional<QString> why = platform::notRegularAtName(m.path))
        throw MessageRefusal(*why);
    if (realFolder(info.absolutePath()) != realFolder(config::messageFolder()) || m.name.startsWith(u'.'))
        refuse(m.path, QStringLiteral("not a message: messages are the files in %1").arg(config::messageFolder()));
    struct stat status {};
    try {
        m.file = platform::openRegularAtName(m.path, status);
    } catch (const platform::RuntimeError& e) {
        // Swapped for something else since it was looked at.
        if (e.number() == platform::err::PathFileAccessError)
            throw MessageRefusal(e.description());
        throw;
    }
    m.size = status.st_size;
    m.time = QDateTime::fromSecsSinceEpoch(status.st_mtim.tv_sec).addMSecs(status.st_mtim.tv_nsec / 1000000);
    QByteArray head;
    platform::FileContent(m.file.fd(), m.path, std::min<std::int64_t>(m.size, kHeaderReach))
        .forEachPiece([&](QByteArrayView piece) { head += piece; });
    const WaveSound sound = waveSoundOf(head, m.size);
    if (!sound.complete)
        refuse(m.path, QStringLiteral("still being written or cut off: %1; it was left as it is").arg(sound.problem));
    m.seconds = sound.seconds;
    return m;
}

QString copyMessage(const MailboxTable& table, const QString& path, const QString& targetId)
{
    const std::int16_t index = table.find(targetId);
    if (index < 1)
        throw MessageRefusal(QStringLiteral("%1: no box %2").arg(config::mailboxList(), targetId));
    const QString id = table.at(index).Id;
    if (!isSafeFileNamePart(id) || id.contains(u'_'))
        throw MessageRefusal(QStringLiteral("box %1 cannot have messages: its number is no safe file name").arg(id));
    const CheckedMessage m = checkedMessage(path);
    MessageNameParts parts = partsOf(m);
    const QDateTime moment = stampMoment(m, parts.stamp);
    parts.id = id;
    parts.marker = QStringLiteral("1");
    QString tried;
    QString copy;
    try {
        copy = createMessageFile(
            config::messageFolder(),
            [&](const QDateTime& at) {
                parts.stamp = at.toString(QStringLiteral("MMddHHmmss"));
                return tried = parts.name();
            },
            moment, m.content());
    } catch (const platform::RuntimeError& e) {
        throw targetFailure(e, m, config::messageFolder() + tried);
    }
    try {
        platform::setLastWriteTime(copy, m.time);
    } catch (...) {
        platform::ignoreErrors([&] { platform::deleteFile(copy); });
        throw;
    }
    return copy;
}

QString markMessage(const QString& path, bool asNew)
{
    const CheckedMessage m = checkedMessage(path);
    MessageNameParts parts = partsOf(m);
    if ((parts.marker == QLatin1String("1")) == asNew)
        return m.path;
    parts.marker = asNew ? QStringLiteral("1") : QStringLiteral("0");
    QString renamed = QFileInfo(m.path).absolutePath() + u'/' + parts.name();
    try {
        platform::renameNoReplace(m.path, renamed);
    } catch (const platform::RuntimeError& e) {
        if (e.number() == platform::err::FileAlreadyExists)
            refuse(m.path, QStringLiteral("%1 exists already; the message was left as it is").arg(parts.name()));
        throw;
    }
    return renamed;
}

void exportMessage(const QString& path, const QString& target)
{
    const CheckedMessage m = checkedMessage(path);
    try {
        platform::createNewFile(target, m.content());
    } catch (const platform::RuntimeError& e) {
        if (e.number() == platform::err::FileAlreadyExists)
            refuse(target, QStringLiteral("exists already; a saved copy never replaces a file"));
        if (e.number() == platform::err::PathFileAccessError)
            refuse(target, e.description());
        throw targetFailure(e, m, target);
    }
    platform::ignoreErrors([&] { platform::setLastWriteTime(target, m.time); });
}

}  // namespace vm::mailbox
