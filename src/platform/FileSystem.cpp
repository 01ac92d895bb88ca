#include "FileSystem.h"

#include "AccountName.h"
#include "RuntimeError.h"

#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <utility>

namespace vm::platform {

namespace {

QByteArray nativePath(const QString& path) { return nativeName(path); }

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
void writeWhole(int fd, const QString& path, QByteArrayView bytes, std::int64_t offset)
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

void writeAllTo(int fd, const QString& path, QByteArrayView bytes) { writeWhole(fd, path, bytes, -1); }

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

[[noreturn]] void refuse(const QString& why) { throw RuntimeError(err::PathFileAccessError, why); }

QString notRegular(const QByteArray& path, mode_t mode)
{
    return QStringLiteral("%1 is %2, not a regular file").arg(nameText(path), fileKind(mode));
}

// The regular file `path` (links followed) opened for reading, without
// blocking on a FIFO: that is refused instead, as is any other kind.
OpenFile openRegular(const QString& path, struct stat& st)
{
    OpenFile file(openOrRaise(path, O_RDONLY | O_NONBLOCK));
    if (calls().statOpen(file.fd(), &st) != 0)
        raiseForErrno(errno, path);
    if (!S_ISREG(st.st_mode))
        refuse(notRegular(nativePath(path), st.st_mode));
    return file;
}

// Links that root or the running account made are the operator's own doing;
// any other account's link in the shared folder may be a trap.
bool mayFollow(const struct stat& link) { return link.st_uid == 0 || link.st_uid == ::geteuid(); }

// What a write of `path` would really write: the path with every link on the
// way followed, or why it may not be written. With `followLast` false the last
// name is taken as it stands (a new file is created at the name itself).
struct WriteTarget {
    QByteArray path;
    std::optional<QString> refusal;
};

WriteTarget resolveForWrite(const QString& path, bool followLast)
{
    std::deque<QByteArray> pending;
    const auto queue = [&pending](const QByteArray& names) {
        const QList<QByteArray> parts = names.split('/');
        // In order, ahead of what was pending.
        auto at = pending.begin();
        for (const QByteArray& part : parts)
            if (!part.isEmpty() && part != ".")
                at = std::next(pending.insert(at, part));
    };
    queue(nativePath(QFileInfo(path).absoluteFilePath()));
    QByteArray resolved;  // empty: the root
    int linksFollowed = 0;
    while (!pending.empty()) {
        const QByteArray name = pending.front();
        pending.pop_front();
        if (name == "..") {
            resolved.truncate(std::max<qsizetype>(resolved.lastIndexOf('/'), 0));
            continue;
        }
        const QByteArray candidate = resolved + '/' + name;
        const bool last = pending.empty();
        struct stat st {};
        if (calls().statName(candidate.constData(), &st) != 0) {
            // Missing: the write itself reports it.
            resolved = candidate;
            for (const QByteArray& rest : pending)
                resolved += '/' + rest;
            return {resolved, std::nullopt};
        }
        if (S_ISLNK(st.st_mode) && (followLast || !last)) {
            if (!mayFollow(st))
                return {candidate,
                        QStringLiteral("%1 is a symbolic link that another account (%2) made; it is not followed")
                            .arg(nameText(candidate), accountName(st.st_uid))};
            QByteArray target(PATH_MAX, Qt::Uninitialized);
            const ssize_t n = calls().readLink(candidate.constData(), target.data(),
                                               static_cast<size_t>(target.size()));
            if (n < 0 || ++linksFollowed > 40)
                return {
                    candidate,
                    QStringLiteral("%1: the symbolic links on the way cannot be followed").arg(nameText(candidate))};
            target.truncate(n);
            if (target.startsWith('/'))
                resolved.clear();
            queue(target);
            continue;
        }
        if (last && followLast && !S_ISREG(st.st_mode))
            return {candidate, notRegular(candidate, st.st_mode)};
        resolved = candidate;
    }
    return {resolved.isEmpty() ? QByteArray("/") : resolved, std::nullopt};
}

QByteArray writeTargetOrRaise(const QString& path, bool followLast)
{
    WriteTarget target = resolveForWrite(path, followLast);
    if (target.refusal)
        refuse(*target.refusal);
    return target.path;
}

// The file an open descriptor really is must be the one that was checked: a
// folder on the way swapped for a link between the check and the open is
// caught here. Where /proc cannot tell, the check above stands alone.
void checkOpened(int fd, const QByteArray& expected)
{
    QByteArray actual(PATH_MAX, Qt::Uninitialized);
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t n = calls().readLink(self.constData(), actual.data(), static_cast<size_t>(actual.size()));
    if (n <= 0)
        return;
    actual.truncate(n);
    if (actual != expected)
        refuse(QStringLiteral("%1 changed while it was opened (it is %2)").arg(nameText(expected), nameText(actual)));
}

// Opens a checked path for writing without following a link at its name and
// without blocking on a FIFO; what is opened must be a regular file.
int openCheckedForWrite(const QByteArray& target, int flags)
{
    int fd;
    do {
        fd = calls().open(target.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == ELOOP)
            refuse(QStringLiteral("%1 is a symbolic link; it is not followed").arg(nameText(target)));
        raiseForErrno(errno, nameText(target));
    }
    Fd guard;
    guard.fd = fd;
    struct stat st {};
    if (calls().statOpen(fd, &st) == 0 && !S_ISREG(st.st_mode))
        refuse(notRegular(target, st.st_mode));
    checkOpened(fd, target);
    return std::exchange(guard.fd, -1);
}

// The new file of a replacement gets the old one's owner, group and mode
// before it takes the old one's place.
void keepOwnerAndMode(int fd, const struct stat& old, const QString& path)
{
    struct stat now {};
    if (calls().statOpen(fd, &now) != 0)
        raiseForErrno(errno, path);
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        calls().changeOwner(fd, old.st_uid, old.st_gid) != 0) {
        const int e = errno;
        throw RuntimeError(
            err::PermissionDenied,
            QStringLiteral("%1: the new file cannot keep the old one's owner %2 and group %3 (%4); "
                           "the file was left as it was")
                .arg(path, accountName(old.st_uid), groupName(old.st_gid), QString::fromLocal8Bit(std::strerror(e))));
    }
    if (calls().changeMode(fd, old.st_mode & 07777) != 0)
        raiseForErrno(errno, path);
}

bool matchFrom(const QChar* n, qsizetype nl, const QChar* p, qsizetype pl)
{
    // Iterative wildcard match with single-star backtracking.
    qsizetype ni = 0;
    qsizetype pi = 0;
    qsizetype starP = -1;
    qsizetype starN = 0;
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

QString fileKind(mode_t mode)
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
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("no regular file");
}

void raiseForErrno(int e, const QString& path)
{
    switch (e) {
        case ENOENT: raiseError(parentFolderExists(path) ? err::FileNotFound : err::PathNotFound);
        case ENOTDIR: raiseError(err::PathNotFound);
        case ENAMETOOLONG:
            throw RuntimeError(err::PathNotFound, QStringLiteral("the name is longer than the file system takes"));
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

RuntimeError namingFile(const RuntimeError& error, const QString& path)
{
    if (error.description().startsWith(path))
        return error;
    return {error.number(), QStringLiteral("%1: %2").arg(path, error.description()), error.source()};
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
int FileOps::changeOwner(int fd, uid_t owner, gid_t group) const { return ::fchown(fd, owner, group); }
int FileOps::link(const char* from, const char* to) const
{
    return ::linkat(AT_FDCWD, from, AT_FDCWD, to, AT_SYMLINK_FOLLOW);
}
int FileOps::statName(const char* path, struct stat* status) const { return ::lstat(path, status); }
int FileOps::statOpen(int fd, struct stat* status) const { return ::fstat(fd, status); }
ssize_t FileOps::readLink(const char* path, char* buffer, size_t size) const { return ::readlink(path, buffer, size); }
int FileOps::renameNoReplace(const char* from, const char* to) const
{
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}
int FileOps::hardLink(const char* from, const char* to) const { return ::link(from, to); }
int FileOps::setTimes(const char* path, const timespec times[2]) const
{
    return ::utimensat(AT_FDCWD, path, times, AT_SYMLINK_NOFOLLOW);
}
int FileOps::changeMode(int fd, mode_t mode) const { return ::fchmod(fd, mode); }
int FileOps::truncate(int fd, off_t length) const { return ::ftruncate(fd, length); }
int FileOps::mayWrite(const char* path) const { return ::access(path, W_OK); }
int FileOps::volumeStatus(const char* path, struct statvfs* status) const { return ::statvfs(path, status); }

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

bool isFolder(const QString& path)
{
    struct stat st {};
    return calls().stat(nativePath(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool existsAtName(const QString& path)
{
    struct stat st {};
    return calls().statName(nativePath(path).constData(), &st) == 0;
}

QString realPath(const QString& path)
{
    char* real = ::realpath(nativePath(path).constData(), nullptr);
    if (!real)
        return {};
    const std::unique_ptr<char, void (*)(void*)> owner(real, std::free);
    return nameText(real);
}

QString realPathForWrite(const QString& path)
{
    QString target = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QByteArray link(PATH_MAX, Qt::Uninitialized);
    for (int links = 0; links < 40; ++links) {
        const ssize_t n = calls().readLink(nativePath(target).constData(), link.data(),
                                           static_cast<size_t>(link.size()));
        if (n <= 0)
            break;
        const QString to = nameText(QByteArrayView(link.constData(), n));
        target = QDir::cleanPath(to.startsWith(u'/') ? to : QFileInfo(target).absolutePath() + u'/' + to);
    }
    const QString folder = realPath(QFileInfo(target).absolutePath());
    return folder.isEmpty() ? target : QDir(folder).filePath(QFileInfo(target).fileName());
}

std::optional<struct stat> statIfPresent(const QString& path)
{
    struct stat st {};
    if (calls().stat(nativePath(path).constData(), &st) == 0)
        return st;
    if (errno == ENOENT || errno == ENOTDIR)
        return std::nullopt;
    raiseForErrno(errno, path);
}

bool matchesPattern(const QString& name, const QString& pattern)
{
    return matchFrom(name.constData(), name.size(), pattern.constData(), pattern.size());
}

std::optional<QString> writeRefusal(const QString& path) { return resolveForWrite(path, true).refusal; }

void createNewFile(const QString& path, const FileContent& content)
{
    const QByteArray target = writeTargetOrRaise(path, false);
    int fd;
    do {
        fd = calls().open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == EEXIST)
            raiseError(err::FileAlreadyExists);
        raiseForErrno(errno, path);
    }
    Fd f;
    f.fd = fd;
    try {
        checkOpened(fd, target);
        content.writeTo(fd, path);
    } catch (...) {
        calls().unlink(target.constData());
        throw;
    }
}

void copyToNewFile(const QString& from, const QString& to)
{
    struct stat st {};
    const OpenFile file = openRegular(from, st);
    createNewFile(to, FileContent(file.fd(), from, st.st_size));
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
    if (calls().volumeStatus(nativePath(path).constData(), &sv) != 0)
        return 0;
    return static_cast<std::uint64_t>(sv.f_bavail) * sv.f_frsize;
}

QByteArray readFile(const QString& path, std::int64_t maxBytes)
{
    struct stat st {};
    const OpenFile f = openRegular(path, st);
    const auto tooLarge = [&] { refuse(QStringLiteral("%1 holds more than %2 bytes").arg(path).arg(maxBytes)); };
    if (maxBytes >= 0 && st.st_size > maxBytes)
        tooLarge();
    // Read straight into the buffer, sized for the file as it is now; a file
    // that grows meanwhile is read on to its end.
    QByteArray bytes(static_cast<qsizetype>(st.st_size) + 1, Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(got + std::max<qsizetype>(got, 65536));
        const ssize_t n = calls().read(f.fd(), bytes.data() + got, static_cast<size_t>(bytes.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            raiseForErrno(errno, path);
        }
        if (n == 0)
            break;
        got += n;
        if (maxBytes >= 0 && got > maxBytes)
            tooLarge();
    }
    bytes.truncate(got);
    return bytes;
}

std::optional<QByteArray> readFileIfPresent(const QString& path, std::int64_t maxBytes)
{
    try {
        const std::optional<struct stat> status = statIfPresent(path);
        if (!status || S_ISDIR(status->st_mode))
            return std::nullopt;
        return readFile(path, maxBytes);
    } catch (...) {
        const RuntimeError e = toRuntimeError(std::current_exception());
        if (e.description().startsWith(path))
            throw e;
        throw RuntimeError(e.number(), QStringLiteral("%1: cannot be read: %2").arg(path, e.description()));
    }
}

void appendFile(const QString& path, const QByteArray& bytes)
{
    Fd f;
    f.fd = openCheckedForWrite(writeTargetOrRaise(path, true), O_WRONLY | O_CREAT | O_APPEND);
    struct stat before {};
    const bool sized = calls().statOpen(f.fd, &before) == 0;
    try {
        writeAllTo(f.fd, path, bytes);
    } catch (...) {
        // A full disk may have let part of the bytes in; a log read later
        // must not show half an entry glued to the next one. Should that fail
        // too, the write's own error is still the one reported.
        if (sized)
            (void)calls().truncate(f.fd, before.st_size);
        throw;
    }
}

int openForUpdate(const QString& path) { return openCheckedForWrite(writeTargetOrRaise(path, true), O_RDWR | O_CREAT); }

void writeAt(int fd, const QString& path, QByteArrayView bytes, std::int64_t offset)
{
    writeWhole(fd, path, bytes, offset);
}

StagedFile stageReplacement(const QString& path, const FileContent& content)
{
    const FileOps& ops = calls();
    const QByteArray target = writeTargetOrRaise(path, true);
    // A rename would replace a file that may not be written; refuse it as
    // opening it for writing would (no write permission at all counts as
    // read-only, as the original platform's read-only attribute does).
    struct stat old {};
    const bool replacing = ops.stat(target.constData(), &old) == 0;
    if (replacing && S_ISREG(old.st_mode) && ((old.st_mode & 0222) == 0 || ops.mayWrite(target.constData()) != 0))
        raiseError(err::PermissionDenied);
    const qsizetype slash = target.lastIndexOf('/');
    QByteArray tmpl = target.left(slash + 1) + '.' + target.mid(slash + 1) + ".XXXXXX";
    Fd f;
    f.fd = ops.makeTemporary(tmpl.data());
    if (f.fd < 0)
        raiseForErrno(errno, path);
    StagedFile staged{nameText(tmpl), nameText(target), path};
    try {
        checkOpened(f.fd, tmpl);
        if (replacing)
            keepOwnerAndMode(f.fd, old, path);
        else {
            // A new file gets the ordinary mode a plain create would give.
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ops.changeMode(f.fd, 0666 & ~mask);
        }
        content.writeTo(f.fd, path);
        if (ops.sync(f.fd) != 0)
            raiseForErrno(errno, path);
    } catch (...) {
        discardReplacement(staged);
        throw;
    }
    return staged;
}

void commitReplacement(const StagedFile& staged)
{
    if (calls().rename(nativePath(staged.temporary).constData(), nativePath(staged.target).constData()) != 0) {
        const int e = errno;
        discardReplacement(staged);
        raiseForErrno(e, staged.path);
    }
}

void discardReplacement(const StagedFile& staged) { calls().unlink(nativePath(staged.temporary).constData()); }

void replaceFileAtomically(const QString& path, const FileContent& content)
{
    commitReplacement(stageReplacement(path, content));
}

QString moveAside(const QString& path)
{
    const QFileInfo file(path);
    QByteArray aside = nativePath(file.absolutePath() + QStringLiteral("/.") + file.fileName() +
                                  QStringLiteral(".XXXXXX"));
    // The fresh name is taken by a file of its own first, so no other file can be in its place.
    Fd f;
    f.fd = calls().makeTemporary(aside.data());
    if (f.fd < 0)
        raiseForErrno(errno, path);
    if (calls().rename(nativePath(path).constData(), aside.constData()) != 0) {
        const int e = errno;
        calls().unlink(aside.constData());
        raiseForErrno(e, path);
    }
    return nameText(aside);
}

void renameFile(const QString& from, const QString& to)
{
    if (calls().rename(nativePath(from).constData(), nativePath(to).constData()) != 0)
        raiseForErrno(errno, to);
}

}  // namespace vm::platform

namespace vm::platform {

void renameNoReplace(const QString& from, const QString& to)
{
    const QByteArray source = nativePath(from);
    const QByteArray target = nativePath(to);
    if (calls().renameNoReplace(source.constData(), target.constData()) == 0)
        return;
    if (errno != EINVAL && errno != ENOSYS) {
        if (errno == EEXIST)
            raiseError(err::FileAlreadyExists);
        raiseForErrno(errno, errno == ENOENT ? from : to);
    }
    // No such rename here: a second name never replaces anything either.
    if (calls().hardLink(source.constData(), target.constData()) != 0) {
        if (errno == EEXIST)
            raiseError(err::FileAlreadyExists);
        raiseForErrno(errno, errno == ENOENT ? from : to);
    }
    if (calls().unlink(source.constData()) != 0) {
        const int e = errno;
        calls().unlink(target.constData());
        raiseForErrno(e, from);
    }
}

void setLastWriteTime(const QString& path, const QDateTime& time)
{
    const qint64 ms = time.toMSecsSinceEpoch();
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(ms / 1000);
    times[1].tv_nsec = static_cast<long>(ms % 1000) * 1000000;
    if (calls().setTimes(nativePath(path).constData(), times) != 0)
        raiseForErrno(errno, path);
}

std::optional<QString> notRegularAtName(const QString& path)
{
    struct stat st {};
    if (calls().statName(nativePath(path).constData(), &st) != 0)
        raiseForErrno(errno, path);
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("%1 is a symbolic link; it is not followed").arg(path);
    if (!S_ISREG(st.st_mode))
        return notRegular(nativePath(path), st.st_mode);
    return std::nullopt;
}

OpenFile openRegularAtName(const QString& path, struct stat& status)
{
    OpenFile file(calls().open(nativePath(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0));
    if (file.fd() < 0) {
        if (errno == ELOOP)
            refuse(QStringLiteral("%1 is a symbolic link; it is not followed").arg(path));
        raiseForErrno(errno, path);
    }
    if (calls().statOpen(file.fd(), &status) != 0)
        raiseForErrno(errno, path);
    if (!S_ISREG(status.st_mode))
        refuse(notRegular(nativePath(path), status.st_mode));
    return file;
}

QByteArray readFileAtName(const QString& path, struct stat* status, std::int64_t maxBytes)
{
    struct stat st {};
    const OpenFile file = openRegularAtName(path, st);
    if (status)
        *status = st;
    if (maxBytes >= 0 && st.st_size > maxBytes)
        refuse(
            QStringLiteral("%1 holds %2 bytes, more than the %3 it may hold").arg(path).arg(st.st_size).arg(maxBytes));
    QByteArray bytes(static_cast<qsizetype>(st.st_size), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = calls().read(file.fd(), bytes.data() + got, static_cast<size_t>(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            raiseForErrno(errno, path);
        if (n == 0)
            break;
        got += n;
    }
    // A file that shrank meanwhile is what it is now; one that grows is
    // read to the size its status gave.
    bytes.truncate(got);
    return bytes;
}

}  // namespace vm::platform
