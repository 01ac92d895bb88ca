#pragma once
// The message folder read in one pass: the names that match a pattern, each
// with its size and last-write time from one status query. Box selection and
// the statistics walk folders of a hundred thousand files, so names are
// matched on their raw bytes and made into text only when needed.
//
// The files found are those vm::platform::listFiles finds for the same pattern
// (no hidden files, no folders, letter case ignored).

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace vm::manager_window {

// A file as the pass meets it.
struct FolderEntry {
    QByteArrayView rawName;  // the name's bytes as the folder holds them
    bool ascii = false;      // plain ASCII: the bytes are the text
    std::int64_t size = 0;
    std::int64_t writtenSecs = 0;  // last write, seconds since the epoch
    int statusErrno = 0;           // non-zero when the status query failed (the file vanished)

    QString name() const;  // without folder
    // The size in bytes; raises the run-time error of a failed status query
    // (53 for a file that is gone).
    std::int64_t sizeInBytes(const QString& folder) const;
};

// Calls `visit` for every file of `folder` matching `pattern`, in the
// folder's own order. What `visit` raises ends the pass and goes to the caller.
void forEachMessageFile(const QString& folder, const QString& pattern,
                        const std::function<void(const FolderEntry&)>& visit);

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

// ByName gives the order of vm::platform::listFiles (names compared ignoring
// case); AsFound leaves the directory's own order.
enum class ScanOrder { ByName, AsFound };

std::vector<MessageFile> scanMessageFolder(const QString& folder, const QString& pattern,
                                           ScanOrder order = ScanOrder::ByName);

}  // namespace vm::manager_window
