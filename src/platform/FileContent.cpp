#include "FileContent.h"

#include "FileSystem.h"
#include "RuntimeError.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace vm::platform {

namespace {

// Large enough that the system calls cost nothing beside the copying, small
// enough to be no memory at all.
constexpr qsizetype kPiece = qsizetype{1} << 20;

}  // namespace

OpenFile::~OpenFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

OpenFile::OpenFile(OpenFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void FileContent::readAt(QByteArray& piece, std::int64_t from, qsizetype count) const
try {
    piece.resize(count);
    if (::lseek(fd_, static_cast<off_t>(from), SEEK_SET) < 0)
        raiseForErrno(errno, path_);
    qsizetype got = 0;
    while (got < count) {
        const ssize_t n = fileOps().get()->read(fd_, piece.data() + got, static_cast<size_t>(count - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            raiseForErrno(errno, path_);
        if (n == 0)
            throw RuntimeError(err::InputPastEndOfFile,
                               QStringLiteral("%1 grew shorter while it was copied").arg(path_));
        got += n;
    }
} catch (const RuntimeError& e) {
    // Named, so that a failed copy tells the file it could not read from the one it could not write.
    throw namingFile(e, path_);
}

void FileContent::writeTo(int fd, const QString& path) const
{
    if (fd_ < 0) {
        platform::writeAt(fd, path, bytes_, 0);
        return;
    }
    QByteArray piece;
    std::int64_t at = 0;
    while (at < size_) {
        // The next range that holds data; a file system that cannot tell has data everywhere.
        off_t data = ::lseek(fd_, static_cast<off_t>(at), SEEK_DATA);
        if (data < 0 && errno == ENXIO)
            break;  // only a hole is left
        if (data < 0)
            data = static_cast<off_t>(at);
        off_t hole = ::lseek(fd_, data, SEEK_HOLE);
        if (hole < 0)
            hole = static_cast<off_t>(size_);
        const std::int64_t end = std::min<std::int64_t>(hole, size_);
        for (std::int64_t from = data; from < end; from += kPiece) {
            readAt(piece, from, static_cast<qsizetype>(std::min<std::int64_t>(kPiece, end - from)));
            platform::writeAt(fd, path, piece, from);
        }
        at = std::max<std::int64_t>(end, at + 1);
    }
    // What is left after the last data, a hole included, is the file's length.
    if (::ftruncate(fd, static_cast<off_t>(size_)) != 0)
        raiseForErrno(errno, path);
}

void FileContent::forEachPiece(const std::function<void(QByteArrayView)>& each) const
{
    if (fd_ < 0) {
        each(bytes_);
        return;
    }
    QByteArray piece;
    for (std::int64_t from = 0; from < size_; from += kPiece) {
        readAt(piece, from, static_cast<qsizetype>(std::min<std::int64_t>(kPiece, size_ - from)));
        each(piece);
    }
}

}  // namespace vm::platform
