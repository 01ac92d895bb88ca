#include "MessageFolder.h"

#include "platform/FileSystem.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace vm::window {

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
// its last wildcard), lower-cased ASCII; empty when not plain ASCII.
struct LiteralEnds {
    QByteArray prefix;
    QByteArray suffix;
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
    auto asciiLower = [](const QString& s) {
        for (const QChar ch : s) {
            if (ch.unicode() >= 0x80)
                return QByteArray();
        }
        return s.toLatin1().toLower();
    };
    ends.prefix = asciiLower(prefix);
    ends.suffix = last < 0 ? QByteArray() : asciiLower(suffix);
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

}  // namespace

std::int64_t MessageFile::lastWriteSecs(const QString& folder) const
{
    if (statusErrno)
        fs::raiseForErrno(statusErrno, folder + name);
    return writtenSecs;
}

std::int64_t MessageFile::sizeInBytes(const QString& folder) const
{
    if (statusErrno)
        fs::raiseForErrno(statusErrno, folder + name);
    return size;
}

std::vector<MessageFile> scanMessageFolder(const QString& folder, const QString& pattern, ScanOrder order)
{
    std::vector<MessageFile> files;
    DIR* dir = ::opendir(QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder).constData());
    if (!dir)
        return files;
    const int dirFd = ::dirfd(dir);
    const fs::FileOps& ops = *fs::fileOps().get();
    const LiteralEnds ends = literalEnds(pattern);
    while (const dirent* entry = ::readdir(dir)) {
        const char* raw = entry->d_name;
        if (raw[0] == '.')
            continue;
        const std::size_t length = std::strlen(raw);
        const bool ascii = isAscii(raw);
        if (ascii && !mayMatch(raw, length, ends))
            continue;
        if (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
            continue;
        MessageFile file;
        file.name = ascii ? QString::fromLatin1(raw, static_cast<qsizetype>(length)) : QFile::decodeName(raw);
        if (!fs::matchesPattern(file.name, pattern))
            continue;
        struct stat st {};
        if (ops.statAt(dirFd, raw, &st) != 0) {
            if (entry->d_type != DT_REG)
                continue;  // a link to nothing is no file
            file.statusErrno = errno;
        } else if (!S_ISREG(st.st_mode)) {
            continue;
        } else {
            file.size = st.st_size;
            file.writtenSecs = st.st_mtim.tv_sec;
        }
        files.push_back(std::move(file));
    }
    ::closedir(dir);
    if (order == ScanOrder::ByName)
        std::sort(files.begin(), files.end(), [](const MessageFile& a, const MessageFile& b) {
            return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
        });
    return files;
}

}  // namespace vm::window
