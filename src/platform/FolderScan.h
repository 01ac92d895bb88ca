#pragma once
// One pass over a folder of many files: its names, in order, then each
// entry's status and, for a regular file, its first bytes. Listing the
// message folder and choosing messages by age are this pass; a folder of
// 100,000 messages is its measure (BM_ListMessages, BM_PurgeDryRun).

#include <QByteArrayView>
#include <QString>

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vm::platform {

// One entry as it stands: a link there is a link (but see passFollowingLinks).
struct FolderEntry {
    const char* name;     // native bytes
    struct stat status;   // of the name itself (lstat)
    QByteArrayView head;  // the first bytes of a regular file, up to the limit asked for
    unsigned char type;   // as the folder lists it: DT_REG, DT_LNK, ..., DT_UNKNOWN where it cannot tell
    int statusErrno;      // passFollowingLinks: why the status could not be read, else 0
};

class FolderScan {
public:
    // Reads the names of `folder` except hidden ones (beginning with "."),
    // ordered by their bytes, keeping those `keep` accepts (all without
    // one). A missing or unreadable folder raises its error.
    explicit FolderScan(const QString& folder, const std::function<bool(const char* name)>& keep = {});
    FolderScan() = default;  // no names
    ~FolderScan();
    FolderScan(const FolderScan&) = delete;
    FolderScan& operator=(const FolderScan&) = delete;

    std::size_t size() const { return listed_.size(); }
    // Every name the folder held but hidden ones, kept or not.
    std::size_t namesSeen() const { return namesSeen_; }

    // Calls `each` with the place of the name (0 .. size() - 1) and the
    // entry for every kept name still there; one that vanished meanwhile is
    // left out. With `headBytes` above 0 each regular file is opened (never
    // through a link, never blocking) and its first bytes read; other kinds
    // are not opened.
    //
    // With `threads` above 1 the entries are shared among that many threads
    // as parallelFor shares items. Opening one file after another is most of
    // a large folder's listing, and the kernel serves several at once.
    //
    // With `headNeeded`, a regular file's status is read first and the file
    // is opened only when `headNeeded` (called with the place and the status,
    // from the reading threads) says so; otherwise its head stays empty.
    using HeadNeeded = std::function<bool(std::size_t, const struct stat&)>;
    void read(int headBytes, int threads, const std::function<void(std::size_t, const FolderEntry&)>& each,
              const HeadNeeded& headNeeded = {}) const;

    // The pass without the names kept: calls `each` for every name of
    // `folder` but hidden ones that `keep` accepts, in the folder's own
    // order, as the folder gives it, with the status of what the name leads
    // to (links followed, as opening it by name would), asked through
    // fileOps(). An entry whose status cannot be read (gone since its name
    // was read, or a link that leads nowhere) comes with its `statusErrno`.
    // No file is opened. Each status is asked while the folder's entries
    // are fresh, not after all the names (BM_WindowStartup). A missing or
    // unreadable folder raises its error.
    static void passFollowingLinks(const QString& folder, const std::function<bool(const char* name)>& keep,
                                   const std::function<void(const FolderEntry&)>& each);

private:
    struct Listed {
        std::uint64_t lead;  // the name's first 8 bytes, big-endian, padded with 0
        std::size_t at;      // of the name in names_
        unsigned char type;
    };
    int dirFd_ = -1;
    std::string names_;  // each name followed by its NUL
    std::vector<Listed> listed_;
    std::size_t namesSeen_ = 0;
};

}  // namespace vm::platform
