#pragma once
// Ways to make file operations fail for a while: stand-in file calls (any
// step of any file, any error) or a real file size limit (a full disk
// part-way through a write).

#include "platform/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <functional>
#include <map>
#include <new>

namespace vm::test {

// The steps of a file's life a stand-in can make fail: opening it for
// writing, writing, flushing to disk, renaming it into place, asking for its
// status, giving it an owner, reading it, removing it.
enum class FileStep { Open, Write, Sync, Rename, Status, Owner, Read, Remove };

// A fault answered with this throws std::bad_alloc, as an allocation that failed.
inline constexpr int kNoMemory = -1;

// The system's file calls, except that `fault` is asked before each step and
// a step it answers with an errno value fails with it. A temporary file that
// is to replace a file counts as that file. `fault` may also act on the file
// itself (delete it before its status is read).
class FaultyFileOps final : public platform::FileOps {
public:
    using Fault = std::function<int(FileStep step, const QString& path)>;
    explicit FaultyFileOps(Fault fault) : fault_(std::move(fault)) {}

    int open(const char* path, int flags, mode_t mode) const override
    {
        if ((flags & (O_WRONLY | O_RDWR)) && failed(FileStep::Open, decode(path)))
            return -1;
        return remember(platform::FileOps::open(path, flags, mode), decode(path));
    }
    int makeTemporary(char* pathTemplate) const override
    {
        // ".NAME.XXXXXX" beside the file NAME it is to replace.
        const QFileInfo temporary(decode(pathTemplate));
        const QString target = temporary.path() + u'/' + temporary.fileName().mid(1).chopped(7);
        if (failed(FileStep::Open, target))
            return -1;
        return remember(platform::FileOps::makeTemporary(pathTemplate), target);
    }
    ssize_t read(int fd, void* buffer, size_t count) const override
    {
        return failed(FileStep::Read, pathOf(fd)) ? -1 : platform::FileOps::read(fd, buffer, count);
    }
    ssize_t write(int fd, const void* bytes, size_t count) const override
    {
        return failed(FileStep::Write, pathOf(fd)) ? -1 : platform::FileOps::write(fd, bytes, count);
    }
    ssize_t writeAt(int fd, const void* bytes, size_t count, off_t offset) const override
    {
        return failed(FileStep::Write, pathOf(fd)) ? -1 : platform::FileOps::writeAt(fd, bytes, count, offset);
    }
    int sync(int fd) const override { return failed(FileStep::Sync, pathOf(fd)) ? -1 : platform::FileOps::sync(fd); }
    int rename(const char* from, const char* to) const override
    {
        return failed(FileStep::Rename, decode(to)) ? -1 : platform::FileOps::rename(from, to);
    }
    int unlink(const char* path) const override
    {
        return failed(FileStep::Remove, decode(path)) ? -1 : platform::FileOps::unlink(path);
    }
    // A hard link puts a file into place under a new name, as a rename does.
    int link(const char* from, const char* to) const override
    {
        return failed(FileStep::Rename, decode(to)) ? -1 : platform::FileOps::link(from, to);
    }
    int hardLink(const char* from, const char* to) const override
    {
        return failed(FileStep::Rename, decode(to)) ? -1 : platform::FileOps::hardLink(from, to);
    }
    int renameNoReplace(const char* from, const char* to) const override
    {
        return failed(FileStep::Rename, decode(to)) ? -1 : platform::FileOps::renameNoReplace(from, to);
    }
    int stat(const char* path, struct stat* status) const override
    {
        return failed(FileStep::Status, decode(path)) ? -1 : platform::FileOps::stat(path, status);
    }
    int changeOwner(int fd, uid_t owner, gid_t group) const override
    {
        return failed(FileStep::Owner, pathOf(fd)) ? -1 : platform::FileOps::changeOwner(fd, owner, group);
    }
    int statAt(int folderFd, const char* name, struct stat* status) const override
    {
        const QString path = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(folderFd)) + u'/' +
                             decode(name);
        return failed(FileStep::Status, path) ? -1 : platform::FileOps::statAt(folderFd, name, status);
    }

private:
    static QString decode(const char* path) { return platform::nameText(path); }
    int remember(int fd, const QString& path) const
    {
        if (fd >= 0)
            paths_[fd] = path;
        return fd;
    }
    QString pathOf(int fd) const
    {
        const auto it = paths_.find(fd);
        return it == paths_.end() ? QString() : it->second;
    }
    bool failed(FileStep step, const QString& path) const
    {
        const int error = fault_(step, path);
        if (error == kNoMemory)
            throw std::bad_alloc();
        if (error)
            errno = error;
        return error != 0;
    }

    Fault fault_;
    mutable std::map<int, QString> paths_;
};

// Puts FaultyFileOps in force for the life of the object.
class ScopedFault {
public:
    explicit ScopedFault(FaultyFileOps::Fault fault)
        : ops_(std::move(fault)), scope_(platform::fileOps().replace(&ops_))
    {}

private:
    FaultyFileOps ops_;
    platform::Replaceable<const platform::FileOps*>::Scope scope_;
};

// Fails `step` on files whose path ends in `fileName` as the system does for
// run-time error `error` (61 disk full, 70 permission denied).
inline FaultyFileOps::Fault failStep(FileStep step, const QString& fileName, int error)
{
    const int errnoValue = error == 61 ? ENOSPC : error == 70 ? EACCES : EIO;
    return [=](FileStep s, const QString& path) { return s == step && path.endsWith(fileName) ? errnoValue : 0; };
}

// No file of this process grows past `bytes` while it lives; the signal is
// ignored so the write fails instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

}  // namespace vm::test
