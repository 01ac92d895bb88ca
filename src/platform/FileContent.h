#pragma once
// What a new file is to hold: bytes in memory, or the content of an open
// regular file. A file's content is copied in pieces of bounded size, so that
// memory follows the work and not the file (a message of gigabytes is copied
// in the memory of one piece), and the ranges its file system keeps as holes
// stay holes in the copy.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>

namespace vm::platform {

// An open descriptor, closed when the object goes.
class OpenFile {
public:
    OpenFile() = default;
    explicit OpenFile(int fd) : fd_(fd) {}
    ~OpenFile();
    OpenFile(OpenFile&& other) noexcept;
    OpenFile& operator=(OpenFile&& other) noexcept;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

class FileContent {
public:
    FileContent(QByteArray bytes) : bytes_(std::move(bytes)), size_(bytes_.size()) {}  // NOLINT: bytes are content
    FileContent(const char* bytes) : FileContent(QByteArray(bytes)) {}                 // NOLINT: so are literals
    // The first `size` bytes of the open regular file `fd`, named `path` in
    // messages. They are read at their offsets: the file's position does not
    // matter, and the descriptor stays the caller's.
    FileContent(int fd, QString path, std::int64_t size) : fd_(fd), path_(std::move(path)), size_(size) {}

    std::int64_t size() const { return size_; }

    // Writes the content into the open, empty file `fd`, named `path` in the
    // errors raised. A failed read raises with a description that begins with
    // the source's path; a source that ends early raises 62.
    void writeTo(int fd, const QString& path) const;

    // Hands the content to `each` in order, piece by piece, holes as zeros.
    void forEachPiece(const std::function<void(QByteArrayView)>& each) const;

private:
    // Reads [from, from + count) of the source into `piece`.
    void readAt(QByteArray& piece, std::int64_t from, qsizetype count) const;

    QByteArray bytes_;
    int fd_ = -1;
    QString path_;
    std::int64_t size_ = 0;
};

}  // namespace vm::platform
