#include "FolderScan.h"

#include "FileSystem.h"
#include "ParallelFor.h"

#include <QByteArray>
#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace vm::platform {

namespace {

// Reads entries of one open folder, one at a time, into its own buffer.
class EntryReader {
public:
    EntryReader(int dirFd, int headBytes) : dirFd_(dirFd), head_(std::max(headBytes, 0), Qt::Uninitialized) {}

    // False when the entry is gone.
    bool read(const char* name, unsigned char type, FolderEntry& e)
    {
        e = {name, {}, {}};
        // Only what the directory says is a regular file (or cannot say) is
        // opened: opening a device may already act on it.
        const bool known = type != DT_UNKNOWN;
        if (!known && !statAt(name, e.status))
            return false;
        const bool mayOpen = !head_.isEmpty() && (known ? type == DT_REG : S_ISREG(e.status.st_mode));
        const int fd = mayOpen ? ::openat(dirFd_, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC) : -1;
        if (fd >= 0) {
            const bool regular = ::fstat(fd, &e.status) == 0 && S_ISREG(e.status.st_mode);
            const ssize_t n = regular ? ::pread(fd, head_.data(), static_cast<size_t>(head_.size()), 0) : 0;
            ::close(fd);
            if (!regular && !statAt(name, e.status))
                return false;
            e.head = QByteArrayView(head_.constData(), std::max<ssize_t>(n, 0));
            return true;
        }
        return !known || statAt(name, e.status);
    }

private:
    bool statAt(const char* name, struct stat& status) const
    {
        return ::fstatat(dirFd_, name, &status, AT_SYMLINK_NOFOLLOW) == 0;
    }

    int dirFd_;
    QByteArray head_;
};

}  // namespace

FolderScan::FolderScan(const QString& folder, const std::function<bool(const char* name)>& keep)
{
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        raiseForErrno(errno, folder);
    const std::unique_ptr<DIR, int (*)(DIR*)> closer(dir, ::closedir);
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.' || (keep && !keep(entry->d_name)))
            continue;
        listed_.push_back({names_.size(), entry->d_type});
        names_.append(entry->d_name).push_back('\0');
    }
    std::sort(listed_.begin(), listed_.end(), [&](const Listed& a, const Listed& b) {
        return std::strcmp(names_.data() + a.at, names_.data() + b.at) < 0;
    });
    // The folder stays open for the reads: a name is looked up in it, not
    // along its path again.
    dirFd_ = ::fcntl(::dirfd(dir), F_DUPFD_CLOEXEC, 0);
    if (dirFd_ < 0)
        raiseForErrno(errno, folder);
}

FolderScan::~FolderScan()
{
    if (dirFd_ >= 0)
        ::close(dirFd_);
}

void FolderScan::read(int headBytes, int threads,
                      const std::function<void(std::size_t, const FolderEntry&)>& each) const
{
    parallelFor(listed_.size(), threads, [&](std::size_t from, std::size_t to) {
        EntryReader reader(dirFd_, headBytes);
        FolderEntry e{};
        for (std::size_t i = from; i < to; ++i)
            if (reader.read(names_.data() + listed_[i].at, listed_[i].type, e))
                each(i, e);
    });
}

}  // namespace vm::platform
