#pragma once
// Keeping the message folder from growing without end: the messages whose
// file time is older than a number of days, optionally only saved ones
// and only one box's. Only regular files whose names have a message's form
// are ever chosen; anything else in the folder is the operator's to look at.

#include <QDateTime>
#include <QString>

#include <sys/types.h>

#include <cstdint>
#include <vector>

namespace vm::mailbox {

struct PurgeRule {
    int olderThanDays = 0;
    bool savedOnly = false;
    QString box;  // "" for every box; letter case ignored
};

struct PurgeCandidate {
    QString file;              // name in the message folder
    std::int64_t seconds = 0;  // its last-write time, since 1970 (UTC)
    std::int64_t bytes = 0;
    mode_t mode = 0;  // its kind and permissions, as the scan found them
};

// The messages the rule chooses at `now`, by name. Reads names and file
// status only.
std::vector<PurgeCandidate> purgeCandidates(const PurgeRule& rule, const QDateTime& now);

}  // namespace vm::mailbox
