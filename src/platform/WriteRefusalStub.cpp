#include "WriteRefusalStub.h"

#include "FileSystem.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vm::fs {

std::optional<QString> writeRefusal(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        return std::nullopt;
    if (S_ISLNK(st.st_mode)) {
        if (st.st_uid != 0 && st.st_uid != ::geteuid())
            return QStringLiteral("it is a symbolic link another account made");
        if (::stat(native.constData(), &st) != 0)
            return std::nullopt;
    }
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("it is not a regular file");
    return std::nullopt;
}

void createNewFile(const QString& path, const QByteArray& bytes)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = fileOps().get()->open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        raiseForErrno(errno, path);
    try {
        writeAt(fd, path, bytes, 0);
    } catch (...) {
        ::close(fd);
        ::unlink(native.constData());
        throw;
    }
    ::close(fd);
}

}  // namespace vm::fs
