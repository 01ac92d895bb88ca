#pragma once
// The message folder read in one pass: the names that match a pattern, each
// with its size and last-write time from one status query. Box selection and
// the statistics walk folders of a hundred thousand files, so names that
// cannot match are rejected on their raw bytes before any conversion.
//
// The files found are those vm::fs::listFiles finds for the same pattern
// (no hidden files, no folders, letter case ignored).

#include <QString>

#include <cstdint>
#include <vector>

namespace vm::window {

struct MessageFile {
    QString name;  // without folder
    std::int64_t size = 0;
    std::int64_t writtenSecs = 0;  // last write, seconds since the epoch
    int statusErrno = 0;           // non-zero when the status query failed (the file vanished)

    // The last-write time, whole seconds since the epoch; raises the
    // run-time error of a failed status query (53 for a file that is gone).
    std::int64_t lastWriteSecs(const QString& folder) const;
    // The size in bytes; raises like lastWriteTime.
    std::int64_t sizeInBytes(const QString& folder) const;
};

// ByName gives the order of vm::fs::listFiles (names compared ignoring
// case); AsFound leaves the directory's own order, for callers that only count.
enum class ScanOrder { ByName, AsFound };

std::vector<MessageFile> scanMessageFolder(const QString& folder, const QString& pattern,
                                           ScanOrder order = ScanOrder::ByName);

}  // namespace vm::window
