#pragma once
// The playing times of whole messages already read, kept between listings
// by the operator's own account (in its cache folder, never in the shared
// folder), so that listing a large message folder again opens only the
// files that changed: BM_ListMessages/100000, a listing after the first
// (one status query per file), against the first listing, which reads every
// header (BM_ListMessagesFirst).
//
// A file is known by its device, inode, size, last-write time and change
// time. Writing a file or renaming one changes its change time, so a file
// that matches all five still has the header that was read. A file changed
// in the last two seconds is not kept: a write in the same clock tick after
// the read would leave its times as they were.

#include <QString>

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vm::mailbox {

class LengthCache {
public:
    struct Entry {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t bytes = 0;
        std::int64_t writtenNs = 0;  // last write, in nanoseconds since 1970
        std::int64_t changedNs = 0;  // last change of content, name or mode
        double seconds = 0;
    };

    // The entry that would describe a file of `status` playing `seconds`.
    static Entry entryOf(const struct stat& status, double seconds);

    // The cache file of the application folder `appFolder`, in the
    // operator's cache folder ($XDG_CACHE_HOME, else ~/.cache).
    static QString fileFor(const QString& appFolder);

    LengthCache() = default;  // knows nothing and is kept nowhere
    // Reads `file`; a missing, damaged or foreign one is an empty cache, and
    // so is one of more than `mostEntries` entries (one for every name of
    // the folder is the most it could need), which is not read at all.
    LengthCache(QString file, std::size_t mostEntries);

    // The playing time of the file of `status`, when it is known. Safe to
    // call from several threads at once.
    std::optional<double> secondsOf(const struct stat& status) const;

    // Takes what a listing read: with `wholeFolder` the cache then knows only
    // `read` (what is gone is forgotten), else `read` is added. Entries
    // changed at or after `settledBeforeNs` (nanoseconds since 1970) are left out.
    void update(std::vector<Entry> read, bool wholeFolder, std::int64_t settledBeforeNs);

    // Two seconds before now, in nanoseconds since 1970: what changed before
    // then has settled.
    static std::int64_t settledBeforeNow();

    // Writes the cache file when the cache changed, replacing it atomically.
    // The cache only saves work: a failure leaves the old file or none.
    void save() const;

private:
    QString file_;
    std::vector<Entry> entries_;  // ordered by device and inode
    bool changed_ = false;
};

}  // namespace vm::mailbox
