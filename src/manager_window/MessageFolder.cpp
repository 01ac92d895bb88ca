#include "MessageFolder.h"

#include "platform/FileSystem.h"

#include "platform/RuntimeError.h"

#include <algorithm>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

namespace vm::manager_window {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool isAscii(const char* text)
{
    for (; *text; ++text) {
        if (static_cast<unsigned char>(*text) >= 0x80)
            return false;
    }
    return true;
}

// The literal text a pattern begins and ends with (up to its first and from
// its last wildcard), lower-cased ASCII; empty when not plain ASCII. For a
// plain-ASCII pattern with one "*" and no "?", an ASCII name matches exactly
// when its ends agree (`decides`).
struct LiteralEnds {
    QByteArray prefix;
    QByteArray suffix;
    bool decides = false;
};

LiteralEnds literalEnds(const QString& pattern)
{
    LiteralEnds ends;
    const qsizetype first = std::min(
        pattern.indexOf(QLatin1Char('*')) < 0 ? pattern.size() : pattern.indexOf(QLatin1Char('*')),
        pattern.indexOf(QLatin1Char('?')) < 0 ? pattern.size() : pattern.indexOf(QLatin1Char('?')));
    const qsizetype last = std::max(pattern.lastIndexOf(QLatin1Char('*')), pattern.lastIndexOf(QLatin1Char('?')));
    const QString prefix = pattern.left(first);
    const QString suffix = last < 0 ? QString() : pattern.mid(last + 1);
    bool asciiPattern = true;
    for (const QChar ch : pattern)
        asciiPattern = asciiPattern && ch.unicode() < 0x80;
    auto asciiLower = [](const QString& s) {
        for (const QChar ch : s) {
            if (ch.unicode() >= 0x80)
                return QByteArray();
        }
        return s.toLatin1().toLower();
    };
    ends.prefix = asciiLower(prefix);
    ends.suffix = last < 0 ? QByteArray() : asciiLower(suffix);
    ends.decides = asciiPattern && pattern.count(QLatin1Char('*')) == 1 && !pattern.contains(QLatin1Char('?'));
    return ends;
}

// False when a plain-ASCII name cannot match the pattern's literal ends.
bool mayMatch(const char* name, std::size_t length, const LiteralEnds& ends)
{
    if (length < static_cast<std::size_t>(ends.prefix.size() + ends.suffix.size()))
        return false;
    for (qsizetype i = 0; i < ends.prefix.size(); ++i) {
        if (lowerAscii(name[i]) != ends.prefix[i])
            return false;
    }
    const char* tail = name + length - ends.suffix.size();
    for (qsizetype i = 0; i < ends.suffix.size(); ++i) {
        if (lowerAscii(tail[i]) != ends.suffix[i])
            return false;
    }
    return true;
}

[[noreturn]] void raiseStatus(int statusErrno, const QString& folder, const QString& name)
{
    platform::raiseForErrno(statusErrno, folder + name);
}

}  // namespace

QString fileName(const platform::FolderEntry& file)
{
    return plainAscii(file) ? QString::fromLatin1(file.name) : platform::nameText(file.name);
}

bool plainAscii(const platform::FolderEntry& file) { return isAscii(file.name); }

std::int64_t sizeInBytes(const platform::FolderEntry& file, const QString& folder)
{
    if (file.statusErrno)
        raiseStatus(file.statusErrno, folder, fileName(file));
    return file.status.st_size;
}

std::int64_t MessageFile::lastWriteSecs(const QString& folder) const
{
    if (statusErrno)
        raiseStatus(statusErrno, folder, name);
    return writtenSecs;
}

std::int64_t MessageFile::sizeInBytes(const QString& folder) const
{
    if (statusErrno)
        raiseStatus(statusErrno, folder, name);
    return size;
}

void forEachMessageFile(const QString& folder, const QString& pattern,
                        const std::function<void(const platform::FolderEntry&)>& visit)
{
    const LiteralEnds ends = literalEnds(pattern);
    const auto matches = [&](const char* raw) {
        const bool ascii = isAscii(raw);
        if (ascii && !mayMatch(raw, std::strlen(raw), ends))
            return false;
        return (ascii && ends.decides) || platform::matchesPattern(platform::nameText(raw), pattern);
    };
    bool visiting = false;
    const auto each = [&](const platform::FolderEntry& e) {
        if (e.type != DT_REG && e.type != DT_UNKNOWN && e.type != DT_LNK)
            return;
        // A regular file, or one listed as such that is gone now.
        if (e.statusErrno ? e.type == DT_REG : S_ISREG(e.status.st_mode)) {
            visiting = true;
            visit(e);
            visiting = false;
        }
    };
    try {
        platform::FolderScan::passFollowingLinks(folder.isEmpty() ? QStringLiteral(".") : folder, matches, each);
    } catch (const platform::RuntimeError&) {
        if (visiting)
            throw;
        // A folder that cannot be read lists nothing.
    }
}

std::vector<MessageFile> scanMessageFolder(const QString& folder, const QString& pattern, ScanOrder order)
{
    std::vector<MessageFile> files;
    forEachMessageFile(folder, pattern, [&](const platform::FolderEntry& f) {
        files.push_back({fileName(f), f.status.st_size, f.status.st_mtim.tv_sec, f.statusErrno});
    });
    if (order == ScanOrder::ByName)
        std::sort(files.begin(), files.end(), [](const MessageFile& a, const MessageFile& b) {
            return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
        });
    return files;
}

}  // namespace vm::manager_window
