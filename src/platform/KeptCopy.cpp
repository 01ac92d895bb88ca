#include "KeptCopy.h"

#include "FileContent.h"
#include "FileSystem.h"
#include "RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>

namespace vm::platform {

namespace {

// Names tried before giving up: far more copies than one stamp ever gets.
constexpr int kMostCopiesPerStamp = 1000;

QByteArray nativePath(const QString& path) { return nativeName(path); }

QString copyName(const QString& path, const QString& stamp, const QString& reason, int n)
{
    const QString tag = n == 1 ? stamp : stamp + QLatin1Char('-') + QString::number(n);
    return path + QLatin1Char('.') + tag + QLatin1Char('.') + reason;
}

// The descriptor must be the new name in the folder that was checked: a
// folder on the way swapped for a link meanwhile would put the copy elsewhere.
void checkOpenedAt(int fd, const QString& copy)
{
    const QByteArray expected = nativePath(realPath(QFileInfo(copy).absolutePath()) + QLatin1Char('/') +
                                           QFileInfo(copy).fileName());
    QByteArray actual(PATH_MAX, Qt::Uninitialized);
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t n = ::readlink(self.constData(), actual.data(), static_cast<size_t>(actual.size()));
    if (n <= 0)
        return;  // no /proc: the check before the open stands alone
    actual.truncate(n);
    if (actual != expected)
        throw RuntimeError(
            err::PathFileAccessError,
            QStringLiteral("%1 changed while it was created (it is %2)").arg(nameText(expected), nameText(actual)));
}

// The original's permission bits; its owner and group when root, else its
// group when the account belongs to it. A copy that ends in another group
// than the original's loses the group's bits, so no one reads it who could
// not read the original.
void takeOwnerAndMode(int fd, const struct stat& original, const QString& copy)
{
    const FileOps& ops = *fileOps().get();
    if (::geteuid() == 0)
        ops.changeOwner(fd, original.st_uid, original.st_gid);
    else
        ops.changeOwner(fd, static_cast<uid_t>(-1), original.st_gid);
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        raiseForErrno(errno, copy);
    mode_t mode = original.st_mode & 0777;
    if (now.st_gid != original.st_gid)
        mode &= ~static_cast<mode_t>(S_IRWXG);
    if (::fchmod(fd, mode) != 0)
        raiseForErrno(errno, copy);
}

// A hard link cannot be made here (or /proc, which names the open file, is
// missing), but a copy can.
bool noLinkHere(int e)
{
    return e == EPERM || e == EXDEV || e == EMLINK || e == EOPNOTSUPP || e == ENOSYS || e == ENOENT;
}

// A new file at `copy` holding the content of the open file `from`; false
// when the name is taken.
bool copyTo(const QString& copy, const OpenFile& from, const struct stat& original, const QString& path)
{
    const FileOps& ops = *fileOps().get();
    int fd;
    do {
        // Private from the start: the content may hold PINs and passwords.
        fd = ops.open(nativePath(copy).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == EEXIST)
            return false;
        raiseForErrno(errno, copy);
    }
    try {
        checkOpenedAt(fd, copy);
        takeOwnerAndMode(fd, original, copy);
        FileContent(from.fd(), path, original.st_size).writeTo(fd, copy);
        if (ops.sync(fd) != 0)
            raiseForErrno(errno, copy);
    } catch (...) {
        ::close(fd);
        ops.unlink(nativePath(copy).constData());
        throw;
    }
    if (::close(fd) != 0 && errno != EINTR) {
        const int e = errno;
        ops.unlink(nativePath(copy).constData());
        raiseForErrno(e, copy);
    }
    return true;
}

}  // namespace

QString keepCopy(const QString& path, const QString& stamp, const QString& reason)
{
    const FileOps& ops = *fileOps().get();
    // Held open: a copy copies the file that was looked at.
    const OpenFile original(ops.open(nativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0));
    struct stat status {};
    if (original.fd() < 0 || ::fstat(original.fd(), &status) != 0)
        raiseForErrno(errno, path);
    if (!S_ISREG(status.st_mode))
        throw RuntimeError(err::PathFileAccessError,
                           QStringLiteral("%1 is %2, not a regular file").arg(path, fileKind(status.st_mode)));

    bool linking = true;
    for (int n = 1; n <= kMostCopiesPerStamp; ++n) {
        QString copy = copyName(path, stamp, reason, n);
        if (const auto why = writeRefusal(copy))
            throw RuntimeError(err::PathFileAccessError, *why);
        if (linking) {
            // The open file itself gets the name, whatever is at `path` by now.
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(original.fd());
            if (ops.link(self.constData(), nativePath(copy).constData()) == 0)
                return copy;
            if (errno == EEXIST)
                continue;
            if (!noLinkHere(errno))
                raiseForErrno(errno, copy);
            linking = false;
        }
        if (copyTo(copy, original, status, path))
            return copy;
    }
    raiseError(err::FileAlreadyExists);
}

}  // namespace vm::platform
