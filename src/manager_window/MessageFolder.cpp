#include "MessageFolder.h"

#include "platform/FileSystem.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
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

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

[[noreturn]] void raiseStatus(int statusErrno, const QString& folder, const QString& name)
{
    platform::raiseForErrno(statusErrno, folder + name);
}

}  // namespace

QString FolderEntry::name() const
{
    return ascii ? QString::fromLatin1(rawName) : platform::nameText(rawName.toByteArray());
}

std::int64_t FolderEntry::sizeInBytes(const QString& folder) const
{
    if (statusErrno)
        raiseStatus(statusErrno, folder, name());
    return size;
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
                        const std::function<void(const FolderEntry&)>& visit)
{
    const std::unique_ptr<DIR, DirCloser> dir(
        ::opendir(platform::nativeName(folder.isEmpty() ? QStringLiteral(".") : folder).constData()));
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir.get());
    const platform::FileOps& ops = *platform::fileOps().get();
    const LiteralEnds ends = literalEnds(pattern);
    while (const dirent* entry = ::readdir(dir.get())) {
        const char* raw = entry->d_name;
        if (raw[0] == '.')
            continue;
        const std::size_t length = std::strlen(raw);
        FolderEntry file;
        file.rawName = QByteArrayView(raw, static_cast<qsizetype>(length));
        file.ascii = isAscii(raw);
        if (file.ascii && !mayMatch(raw, length, ends))
            continue;
        if (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
            continue;
        if (!(file.ascii && ends.decides) && !platform::matchesPattern(file.name(), pattern))
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
        visit(file);
    }
}

std::vector<MessageFile> scanMessageFolder(const QString& folder, const QString& pattern, ScanOrder order)
{
    std::vector<MessageFile> files;
    forEachMessageFile(folder, pattern, [&](const FolderEntry& f) {
        files.push_back({f.name(), f.size, f.writtenSecs, f.statusErrno});
    });
    if (order == ScanOrder::ByName)
        std::sort(files.begin(), files.end(), [](const MessageFile& a, const MessageFile& b) {
            return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
        });
    return files;
}

}  // namespace vm::manager_window
