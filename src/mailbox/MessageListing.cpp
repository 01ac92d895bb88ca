#include "MessageListing.h"

#include "config/Paths.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QFile>

#include <sys/stat.h>

#include <algorithm>

namespace vm::mailbox {

namespace {

// Enough for the RIFF header, the format chunk and a few chunks before the data.
constexpr int kHeadBytes = 512;

QString kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return QString();
    if (S_ISLNK(mode))
        return QStringLiteral("a symbolic link");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    return QStringLiteral("a socket");
}

}  // namespace

QString leadingId(const QString& name)
{
    const qsizetype underscore = name.indexOf(u'_');
    return underscore < 0 ? QString() : name.left(underscore);
}

std::vector<MessageInfo> listMessages(const QString& box)
{
    std::vector<MessageInfo> messages;
    const QByteArray prefix = QFile::encodeName(box + u'_');
    const auto each = [&](const platform::FolderEntry& e) {
        // Most of a large folder is other boxes' messages: those are passed
        // over on their bytes, before any text is made of the name.
        if (!box.isEmpty() && qstrnicmp(e.name, prefix.constData(), prefix.size()) != 0)
            return;
        MessageInfo m;
        m.file = QFile::decodeName(e.name);
        m.box = leadingId(m.file);
        m.seconds = e.status.st_mtim.tv_sec;
        m.bytes = e.status.st_size;
        m.notAFile = kindOf(e.status.st_mode);
        if (m.notAFile.isEmpty())
            m.sound = waveSoundOf(e.head, m.bytes);
        m.parts = messageNameParts(m.file);
        messages.push_back(std::move(m));
    };
    try {
        platform::forEachEntry(config::messageFolder(), kHeadBytes, each);
    } catch (const platform::RuntimeError& e) {
        if (e.number() != platform::err::FileNotFound && e.number() != platform::err::PathNotFound)
            throw;
    }
    std::sort(messages.begin(), messages.end(),
              [](const MessageInfo& a, const MessageInfo& b) { return a.file < b.file; });
    return messages;
}

}  // namespace vm::mailbox
