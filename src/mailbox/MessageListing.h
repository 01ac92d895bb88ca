#pragma once
// The messages of the message folder (data/VmSave/) as an operator wants
// them listed: every entry, whatever its name or kind, so that nothing
// there is hidden from the one who looks after it. Hidden names (a
// writer's temporary files) are left out.

#include "mailbox/LengthCache.h"
#include "mailbox/MessageFileName.h"
#include "mailbox/WaveSound.h"
#include "platform/FolderScan.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace vm::mailbox {

struct MessageInfo {
    QString file;              // name in the folder
    QString box;               // the leading Id: the text before the first "_" ("" when none)
    std::int64_t seconds = 0;  // the file's last-write time, in seconds since 1970 (UTC)
    std::int64_t bytes = 0;
    QString notAFile;                       // "" for a regular file; else what it is ("a symbolic link", "a FIFO", ...)
    WaveSound sound;                        // from the file's header
    std::optional<MessageNameParts> parts;  // none: the name has no message's form

    bool isNew() const { return parts && parts->marker == QLatin1String("1"); }
    QDateTime time() const { return QDateTime::fromSecsSinceEpoch(seconds); }  // local
};

// The names of the message folder whose leading Id is `box` (letter case
// ignored), or all of them for an empty `box`, ordered by their bytes; a
// missing folder has none.
platform::FolderScan scanMessageFolder(const QString& box);

// The entries scanMessageFolder(box) names, in its order. Each regular
// file's header is read (never through a link) unless the lengths cache
// `cacheFile` ("" for none) knows the file; the cache then knows what was
// read, and is saved. A cache larger than the folder's names could need is
// not read: the listing then costs only time.
std::vector<MessageInfo> listMessages(const QString& box, const QString& cacheFile);

// The leading Id of a file name: the text before its first "_", "" when none.
QString leadingId(const QString& name);

}  // namespace vm::mailbox
