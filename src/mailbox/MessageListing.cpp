#include "MessageListing.h"

#include "config/Paths.h"
#include "platform/FileSystem.h"
#include "platform/ParallelFor.h"
#include "platform/RuntimeError.h"

#include <QFile>

namespace vm::mailbox {

namespace {

// Enough for the RIFF header, the format chunk and a few chunks before the data.
constexpr int kHeadBytes = 512;

}  // namespace

QString leadingId(const QString& name)
{
    const qsizetype underscore = name.indexOf(u'_');
    return underscore < 0 ? QString() : name.left(underscore);
}

platform::FolderScan scanMessageFolder(const QString& box)
{
    const QByteArray prefix = platform::nativeName(box + u'_');
    // Most of a large folder is other boxes' messages: those are passed over
    // on their names' bytes, before any is opened.
    const auto ofTheBox = [&](const char* name) { return qstrnicmp(name, prefix.constData(), prefix.size()) == 0; };
    try {
        if (box.isEmpty())
            return platform::FolderScan(config::messageFolder());
        return platform::FolderScan(config::messageFolder(), ofTheBox);
    } catch (const platform::RuntimeError& e) {
        if (e.number() != platform::err::FileNotFound && e.number() != platform::err::PathNotFound)
            throw;
    }
    return {};
}

std::vector<MessageInfo> listMessages(const QString& box, const QString& cacheFile)
{
    const std::int64_t settled = LengthCache::settledBeforeNow();
    const platform::FolderScan scan = scanMessageFolder(box);
    LengthCache lengths(cacheFile, scan.namesSeen());
    std::vector<MessageInfo> messages(scan.size());
    std::vector<LengthCache::Entry> read(scan.size());
    // Each entry has its own place, filled by whichever thread reads it.
    const auto unknown = [&](std::size_t place, const struct stat& status) {
        const std::optional<double> known = lengths.secondsOf(status);
        if (known)
            messages[place].sound = {true, *known, {}};
        return !known;
    };
    scan.read(
        kHeadBytes, platform::workerThreads(),
        [&](std::size_t place, const platform::FolderEntry& e) {
            MessageInfo& m = messages[place];
            m.file = platform::nameText(e.name);
            m.parts = messageNameParts(m.file);
            m.box = m.parts ? m.parts->id : leadingId(m.file);
            m.seconds = e.status.st_mtim.tv_sec;
            m.bytes = e.status.st_size;
            m.notAFile = platform::fileKind(e.status.st_mode);
            if (!m.notAFile.isEmpty())
                return;
            if (!e.head.isEmpty() || !m.sound.complete)
                m.sound = waveSoundOf(e.head, m.bytes);
            if (m.sound.complete)
                read[place] = LengthCache::entryOf(e.status, m.sound.seconds);
        },
        unknown);
    std::erase_if(read, [](const LengthCache::Entry& e) { return e.inode == 0; });  // places not filled
    lengths.update(std::move(read), box.isEmpty(), settled);
    lengths.save();
    // The places of entries that vanished meanwhile stay empty.
    std::erase_if(messages, [](const MessageInfo& m) { return m.file.isEmpty(); });
    return messages;
}

}  // namespace vm::mailbox
