#pragma once
// The message folder read in one pass: the names that match a pattern, each
// with its size and last-write time from one status query. Box selection and
// the statistics walk folders of a hundred thousand files, so names are
// matched on their raw bytes and made into text only when needed.
//
// The files found are those a directory listing finds for the same pattern
// (no hidden files, no folders, letter case ignored).

#include "platform/FolderScan.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace vm::manager_window {

// Calls `visit` for every file of `folder` matching `pattern` (a file a
// link leads to counts; a link that leads nowhere does not), in the
// folder's own order. A file listed but gone before its status was read comes
// with its `statusErrno`. What `visit` raises ends the pass and goes to the
// caller.
void forEachMessageFile(const QString& folder, const QString& pattern,
                        const std::function<void(const platform::FolderEntry&)>& visit);

// The name of a file the pass met, without folder.
QString fileName(const platform::FolderEntry& file);
// Whether that name is plain ASCII: its bytes are then its text.
bool plainAscii(const platform::FolderEntry& file);
// Its size in bytes; raises the run-time error of a failed status query (53
// for a file that is gone).
std::int64_t sizeInBytes(const platform::FolderEntry& file, const QString& folder);

struct MessageFile {
    QString name;  // without folder
    std::int64_t size = 0;
    std::int64_t writtenSecs = 0;  // last write, seconds since the epoch
    int statusErrno = 0;           // non-zero when the status query failed (the file vanished)

    // The last-write time, whole seconds since the epoch; raises the
    // run-time error of a failed status query (53 for a file that is gone).
    std::int64_t lastWriteSecs(const QString& folder) const;
    // The size in bytes; raises like lastWriteSecs.
    std::int64_t sizeInBytes(const QString& folder) const;
};

// ByName orders the names as the original platform's disks list them
// (compared ignoring case); AsFound leaves the pass's order.
enum class ScanOrder { ByName, AsFound };

std::vector<MessageFile> scanMessageFolder(const QString& folder, const QString& pattern,
                                           ScanOrder order = ScanOrder::ByName);

}  // namespace vm::manager_window
