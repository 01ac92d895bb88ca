#pragma once
// How a list file is merged into the mailbox table, the same for the list
// file and the legacy import: every record updates the entry with its Id or
// is appended; entries the file no longer lists lose their greeting and are
// blanked (not removed, so indices stay put); then the part of the table up
// to the last record stored is sorted. The greetings are not removed here
// but listed for the caller, who removes them when it may (FolderLoad.h).

#include "MailboxTable.h"

#include <QStringList>

#include <cstdint>
#include <vector>

namespace vm::mailbox {

// The fields a record brings; the others of an updated entry are kept.
enum class MergedFields {
    All,           // Id through DeleteAfterForward (the list file)
    EightStrings,  // Id, Pin, Groups, Description, EmailForward, PhoneForward,
                   // PagerNumber, PagerMessage (the legacy list)
};

class MailboxMerge {
public:
    // Sizes a never-sized table; no entry counts as seen yet.
    // Greetings to remove are appended to `deletions`.
    MailboxMerge(MailboxTable& table, MergedFields fields, QStringList& deletions);

    // Stores a record in the entry with `id` (appending one when there is
    // none) and marks it seen: `set(VoicemailBox&)` assigns the merged
    // fields (Id included, `id` as it is) in place; a new entry's other
    // fields are emptied first. Raises 6 when the table is full.
    template <class Set>
    void takeInPlace(const QString& id, Set&& set)
    {
        const std::int16_t found = table_.find(id, lastStored_ + 1);
        if (found > 0) {
            table_.update(found, [&](VoicemailBox& entry) {
                set(entry);
                entry.SeenInFile = 1;
            });
            markSeen(found);
            lastStored_ = found;
            return;
        }
        lastStored_ = table_.appendFilled([&](VoicemailBox& entry) {
            if (fields_ != MergedFields::All) {
                entry.OnReceive = QString();
                entry.FtpUpload = 0;
                entry.DeleteAfterForward = 0;
            }
            set(entry);
            entry.SeenInFile = 1;
        });
        markSeen(lastStored_);
    }

    // Lists the greeting of every unseen entry for deletion (never for an Id
    // that is unsafe as a file name) and blanks it, then sorts 1..lastStored().
    void finish();

    // Index at which the last record was stored; 0 before the first.
    std::int16_t lastStored() const { return lastStored_; }

private:
    // Entry i is listed by the file. The marks are kept here rather than
    // read back from the entries, so that neither the start nor the end of a
    // merge has to visit every entry of a table the file names in full.
    void markSeen(int i)
    {
        const auto at = static_cast<std::size_t>(i);
        if (at >= seen_.size())
            seen_.resize(at + 1, 0);
        if (!seen_[at]) {
            seen_[at] = 1;
            ++seenEntries_;
        }
    }

    MailboxTable& table_;
    MergedFields fields_;
    QStringList& deletions_;
    std::int16_t lastStored_ = 0;
    std::vector<std::uint8_t> seen_;  // by entry index: 1 when the file listed it
    int seenEntries_ = 0;
};

}  // namespace vm::mailbox
