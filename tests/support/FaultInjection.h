#pragma once
// Ways to make file operations fail for a while: the platform's fault hook
// (any step, any error), a real file size limit (a full disk part-way
// through a write), or real permissions (which do not stop root).

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QFile>
#include <QString>

#include <sys/resource.h>
#include <unistd.h>
#include <csignal>

namespace vm::test {

// Installs a fault hook for the life of the object.
class ScopedFault {
public:
    explicit ScopedFault(fs::FaultHook hook) { fs::setFaultHook(std::move(hook)); }
    ~ScopedFault() { fs::setFaultHook(nullptr); }
};

// A hook that fails `step` on files whose path ends in `fileName` with `error`.
inline fs::FaultHook failStep(fs::FileStep step, const QString& fileName, int error)
{
    return [=](fs::FileStep s, const QString& path, std::int64_t) {
        if (s == step && path.endsWith(fileName))
            raiseError(error);
    };
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

// Takes write permission away from a file or folder while it lives.
class ReadOnly {
public:
    explicit ReadOnly(const QString& path) : path_(path), previous_(QFile::permissions(path))
    {
        QFile::setPermissions(
            path, previous_ & ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther));
    }
    ~ReadOnly() { QFile::setPermissions(path_, previous_); }

private:
    QString path_;
    QFile::Permissions previous_;
};

// Permissions of folders stop writes only for users other than root.
inline bool permissionsBind() { return ::geteuid() != 0; }

}  // namespace vm::test
