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
    EntryReader(int dirFd, int headBytes, const FolderScan::HeadNeeded& headNeeded)
        : dirFd_(dirFd), head_(std::max(headBytes, 0), Qt::Uninitialized), headNeeded_(headNeeded)
    {}

    // False when the entry is gone.
    bool read(std::size_t place, const char* name, unsigned char type, FolderEntry& e)
    {
        e = {name, {}, {}, type, 0};
        // The status comes first where the folder cannot tell the kind, or
        // where it decides whether the file is opened at all.
        const bool statFirst = type == DT_UNKNOWN || headNeeded_;
        if (statFirst && !statAt(name, e.status))
            return false;
        // Only a regular file is opened: opening a device may already act on it.
        const bool regular = statFirst ? S_ISREG(e.status.st_mode) : type == DT_REG;
        const bool mayOpen = !head_.isEmpty() && regular && (!headNeeded_ || headNeeded_(place, e.status));
        const int fd = mayOpen ? ::openat(dirFd_, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC) : -1;
        if (fd >= 0) {
            const bool opened = ::fstat(fd, &e.status) == 0 && S_ISREG(e.status.st_mode);
            const ssize_t n = opened ? ::pread(fd, head_.data(), static_cast<size_t>(head_.size()), 0) : 0;
            ::close(fd);
            if (!opened && !statAt(name, e.status))
                return false;
            e.head = QByteArrayView(head_.constData(), std::max<ssize_t>(n, 0));
            return true;
        }
        return statFirst || statAt(name, e.status);
    }

private:
    bool statAt(const char* name, struct stat& status) const
    {
        return ::fstatat(dirFd_, name, &status, AT_SYMLINK_NOFOLLOW) == 0;
    }

    int dirFd_;
    QByteArray head_;
    const FolderScan::HeadNeeded& headNeeded_;
};

// A name's first 8 bytes as one number that orders as the bytes do.
std::uint64_t leadOf(const char* name)
{
    std::uint64_t lead = 0;
    for (int i = 0; i < 8; ++i)
        lead = lead << 8 | (*name ? static_cast<unsigned char>(*name++) : 0u);
    return lead;
}

using Folder = std::unique_ptr<DIR, int (*)(DIR*)>;

Folder openFolder(const QString& folder)
{
    DIR* dir = ::opendir(nativeName(folder).constData());
    if (!dir)
        raiseForErrno(errno, folder);
    return {dir, ::closedir};
}

// Every name of the folder but hidden ones, in its own order.
template <class Each>
void forEachName(DIR* dir, Each&& each)
{
    while (const dirent* entry = ::readdir(dir))
        if (entry->d_name[0] != '.')
            each(*entry);
}

}  // namespace

FolderScan::FolderScan(const QString& folder, const std::function<bool(const char* name)>& keep)
{
    const Folder dir = openFolder(folder);
    forEachName(dir.get(), [&](const dirent& entry) {
        ++namesSeen_;
        if (keep && !keep(entry.d_name))
            return;
        listed_.push_back({leadOf(entry.d_name), names_.size(), entry.d_type});
        names_.append(entry.d_name).push_back('\0');
    });
    // Most names differ in their first 8 bytes, which are compared as one
    // number before any strcmp: measured by BM_ListMessages.
    std::sort(listed_.begin(), listed_.end(), [&](const Listed& a, const Listed& b) {
        if (a.lead != b.lead)
            return a.lead < b.lead;
        const bool shortNames = (a.lead & 0xFF) == 0;  // both end within their first 8 bytes: equal
        return !shortNames && std::strcmp(names_.data() + a.at + 8, names_.data() + b.at + 8) < 0;
    });
    // The folder stays open for the reads: a name is looked up in it, not
    // along its path again.
    dirFd_ = ::fcntl(::dirfd(dir.get()), F_DUPFD_CLOEXEC, 0);
    if (dirFd_ < 0)
        raiseForErrno(errno, folder);
}

FolderScan::~FolderScan()
{
    if (dirFd_ >= 0)
        ::close(dirFd_);
}

void FolderScan::read(int headBytes, int threads, const std::function<void(std::size_t, const FolderEntry&)>& each,
                      const HeadNeeded& headNeeded) const
{
    parallelFor(listed_.size(), threads, [&](std::size_t from, std::size_t to) {
        EntryReader reader(dirFd_, headBytes, headNeeded);
        FolderEntry e{};
        for (std::size_t i = from; i < to; ++i)
            if (reader.read(i, names_.data() + listed_[i].at, listed_[i].type, e))
                each(i, e);
    });
}

void FolderScan::passFollowingLinks(const QString& folder, const std::function<bool(const char* name)>& keep,
                                    const std::function<void(const FolderEntry&)>& each)
{
    const Folder dir = openFolder(folder);
    const int dirFd = ::dirfd(dir.get());
    const FileOps& ops = *fileOps().get();
    forEachName(dir.get(), [&](const dirent& entry) {
        if (!keep(entry.d_name))
            return;
        FolderEntry e{entry.d_name, {}, {}, entry.d_type, 0};
        if (ops.statAt(dirFd, e.name, &e.status) != 0)
            e.statusErrno = errno;
        each(e);
    });
}

}  // namespace vm::platform
