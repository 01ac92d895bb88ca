#include "FileSystem.h"

#include "RuntimeError.h"

#include <QDir>
#include <QFileInfo>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

namespace vm::fs {

namespace {

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

const FileOps& calls() { return *fileOps().get(); }

bool parentFolderExists(const QString& path)
{
    const QString parent = QFileInfo(path).absolutePath();
    struct stat st {};
    return calls().stat(nativePath(parent).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Writes all of `bytes` at the file position, or at `offset` when it is not
// negative; a short write goes on where it stopped.
void writeWhole(int fd, const QString& path, const QByteArray& bytes, std::int64_t offset)
{
    const FileOps& ops = calls();
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = offset < 0 ? ops.write(fd, p, static_cast<size_t>(left))
                                     : ops.writeAt(fd, p, static_cast<size_t>(left), static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            raiseForErrno(errno, path);
        }
        p += n;
        left -= n;
        if (offset >= 0)
            offset += n;
    }
}

void writeAllTo(int fd, const QString& path, const QByteArray& bytes) { writeWhole(fd, path, bytes, -1); }

int openOrRaise(const QString& path, int flags)
{
    const int fd = calls().open(nativePath(path).constData(), flags | O_CLOEXEC, 0666);
    if (fd < 0)
        raiseForErrno(errno, path);
    return fd;
}

struct stat statOrRaise(const QString& path)
{
    struct stat st {};
    if (calls().stat(nativePath(path).constData(), &st) != 0)
        raiseForErrno(errno, path);
    if (S_ISDIR(st.st_mode))
        raiseError(err::FileNotFound);
    return st;
}

bool matchFrom(const QChar* n, qsizetype nl, const QChar* p, qsizetype pl)
{
    // Iterative wildcard match with single-star backtracking.
    qsizetype ni = 0, pi = 0, starP = -1, starN = 0;
    while (ni < nl) {
        if (pi < pl && (p[pi] == QLatin1Char('?') || p[pi].toCaseFolded() == n[ni].toCaseFolded())) {
            ++ni;
            ++pi;
        } else if (pi < pl && p[pi] == QLatin1Char('*')) {
            starP = pi++;
            starN = ni;
        } else if (starP >= 0) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < pl && p[pi] == QLatin1Char('*'))
        ++pi;
    return pi == pl;
}

}  // namespace

void raiseForErrno(int e, const QString& path)
{
    switch (e) {
        case ENOENT: raiseError(parentFolderExists(path) ? err::FileNotFound : err::PathNotFound);
        case ENOTDIR:
        case ENAMETOOLONG: raiseError(err::PathNotFound);
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY: raiseError(err::PermissionDenied);
        case ENOSPC:
        case EDQUOT:
        case EFBIG: raiseError(err::DiskFull);
        case EISDIR:
        case EEXIST:
        case EBUSY: raiseError(err::PathFileAccessError);
        case EMFILE:
        case ENFILE: raiseError(err::TooManyFiles);
        case ENOMEM: raiseError(err::OutOfMemory);
        case ENODEV:
        case ENXIO: raiseError(err::DeviceUnavailable);
        default: raiseError(err::DeviceIOError);
    }
}

int FileOps::open(const char* path, int flags, mode_t mode) const { return ::open(path, flags, mode); }
int FileOps::makeTemporary(char* pathTemplate) const { return ::mkstemp(pathTemplate); }
ssize_t FileOps::read(int fd, void* buffer, size_t count) const { return ::read(fd, buffer, count); }
ssize_t FileOps::write(int fd, const void* bytes, size_t count) const { return ::write(fd, bytes, count); }
ssize_t FileOps::writeAt(int fd, const void* bytes, size_t count, off_t offset) const
{
    return ::pwrite(fd, bytes, count, offset);
}
int FileOps::sync(int fd) const { return ::fsync(fd); }
int FileOps::rename(const char* from, const char* to) const { return ::rename(from, to); }
int FileOps::stat(const char* path, struct stat* status) const { return ::stat(path, status); }
int FileOps::statAt(int folderFd, const char* name, struct stat* status) const
{
    return ::fstatat(folderFd, name, status, 0);
}
int FileOps::unlink(const char* path) const { return ::unlink(path); }

Replaceable<const FileOps*>& fileOps()
{
    static const FileOps system;
    static Replaceable<const FileOps*> inForce(&system);
    return inForce;
}

bool fileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        return false;
    struct stat st {};
    return calls().stat(nativePath(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool matchesPattern(const QString& name, const QString& pattern)
{
    return matchFrom(name.constData(), name.size(), pattern.constData(), pattern.size());
}

QStringList listFiles(const QString& folder, const QString& pattern)
{
    QStringList names;
    DIR* dir = ::opendir(nativePath(folder.isEmpty() ? QStringLiteral(".") : folder).constData());
    if (!dir)
        return names;
    const QByteArray base = nativePath(folder) + '/';
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        bool isFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st {};
            isFile = ::stat((base + entry->d_name).constData(), &st) == 0 && S_ISREG(st.st_mode);
        }
        if (!isFile)
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (matchesPattern(name, pattern))
            names.append(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

void copyFile(const QString& from, const QString& to)
{
    const QByteArray bytes = readFile(from);
    writeFile(to, bytes);
}

void deleteFile(const QString& path)
{
    struct stat st {};
    if (calls().stat(nativePath(path).constData(), &st) == 0 && S_ISDIR(st.st_mode))
        raiseError(err::PathFileAccessError);
    if (calls().unlink(nativePath(path).constData()) != 0)
        raiseForErrno(errno, path);
}

std::int64_t fileSize(const QString& path) { return statOrRaise(path).st_size; }

QDateTime lastWriteTime(const QString& path)
{
    const struct stat st = statOrRaise(path);
    return QDateTime::fromSecsSinceEpoch(st.st_mtim.tv_sec).addMSecs(st.st_mtim.tv_nsec / 1000000);
}

std::uint64_t freeBytesForCaller(const QString& path)
{
    struct statvfs sv {};
    if (::statvfs(nativePath(path).constData(), &sv) != 0)
        return 0;
    return static_cast<std::uint64_t>(sv.f_bavail) * sv.f_frsize;
}

QByteArray readFile(const QString& path)
{
    Fd f;
    f.fd = openOrRaise(path, O_RDONLY);
    struct stat st {};
    if (::fstat(f.fd, &st) != 0)
        raiseForErrno(errno, path);
    if (S_ISDIR(st.st_mode))
        raiseError(err::PathFileAccessError);
    // Read straight into the buffer, sized for the file as it is now; a file
    // that grows meanwhile is read on to its end.
    QByteArray bytes(static_cast<qsizetype>(st.st_size) + 1, Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(got + std::max<qsizetype>(got, 65536));
        const ssize_t n = calls().read(f.fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            raiseForErrno(errno, path);
        }
        if (n == 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    Fd f;
    f.fd = openOrRaise(path, O_WRONLY | O_CREAT | O_TRUNC);
    writeAllTo(f.fd, path, bytes);
}

void appendFile(const QString& path, const QByteArray& bytes)
{
    Fd f;
    f.fd = openOrRaise(path, O_WRONLY | O_CREAT | O_APPEND);
    struct stat before {};
    const bool sized = ::fstat(f.fd, &before) == 0;
    try {
        writeAllTo(f.fd, path, bytes);
    } catch (...) {
        // A full disk may have let part of the bytes in; a log read later
        // must not show half an entry glued to the next one.
        if (sized)
            (void)::ftruncate(f.fd, before.st_size);
        throw;
    }
}

int openForUpdate(const QString& path)
{
    const QByteArray native = nativePath(path);
    int fd;
    do {
        fd = calls().open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        raiseForErrno(errno, path);
    return fd;
}

void writeAt(int fd, const QString& path, const QByteArray& bytes, std::int64_t offset)
{
    writeWhole(fd, path, bytes, offset);
}

void replaceFileAtomically(const QString& path, const QByteArray& bytes)
{
    const FileOps& ops = calls();
    // A rename would replace a file that may not be written; refuse it as
    // opening it for writing would (no write permission at all counts as
    // read-only, as the original platform's read-only attribute does).
    struct stat existing {};
    if (ops.stat(nativePath(path).constData(), &existing) == 0 && S_ISREG(existing.st_mode) &&
        ((existing.st_mode & 0222) == 0 || ::access(nativePath(path).constData(), W_OK) != 0))
        raiseError(err::PermissionDenied);
    const QFileInfo info(path);
    QByteArray tmpl = nativePath(info.absolutePath() + QLatin1Char('/') + QLatin1Char('.') + info.fileName() +
                                 QStringLiteral(".XXXXXX"));
    Fd f;
    f.fd = ops.makeTemporary(tmpl.data());
    if (f.fd < 0)
        raiseForErrno(errno, path);
    const QString tmpPath = QFile::decodeName(tmpl);
    try {
        struct stat old {};
        // Keep the permissions an existing list file had; a new one gets the
        // ordinary mode a plain create would give.
        if (ops.stat(nativePath(path).constData(), &old) == 0)
            ::fchmod(f.fd, old.st_mode & 07777);
        else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::fchmod(f.fd, 0666 & ~mask);
        }
        writeAllTo(f.fd, path, bytes);
        if (ops.sync(f.fd) != 0)
            raiseForErrno(errno, path);
        if (ops.rename(tmpl.constData(), nativePath(path).constData()) != 0)
            raiseForErrno(errno, path);
    } catch (...) {
        ops.unlink(tmpl.constData());
        throw;
    }
}

}  // namespace vm::fs
