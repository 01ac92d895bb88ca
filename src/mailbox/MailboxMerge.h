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

namespace vm {

// The fields a record brings; the others of an updated entry are kept.
enum class MergedFields {
    All,           // Id through DeleteAfterForward (the list file)
    EightStrings,  // Id, Pin, Groups, Description, EmailForward, PhoneForward,
                   // PagerNumber, PagerMessage (the legacy list)
};

class MailboxMerge {
public:
    // Sizes a never-sized table and clears every entry's SeenInFile mark.
    // Greetings to remove are appended to `deletions`.
    MailboxMerge(MailboxTable& table, MergedFields fields, QStringList& deletions);

    // Stores one record in the entry with its Id (appending one when there
    // is none) and marks it seen. Raises 6 when the table is full.
    void take(VoicemailBox&& record);
    // The same for a record given as `set(VoicemailBox&)`, which assigns the
    // merged fields (Id included, `id` as it is) in place; a new entry's
    // other fields are emptied first.
    template <class Set>
    void takeInPlace(const QString& id, Set&& set)
    {
        const std::int16_t found = table_.find(id, lastStored_ + 1);
        if (found > 0) {
            table_.update(found, [&](VoicemailBox& entry) {
                set(entry);
                seen(entry);
            });
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
            entry.SeenInFile = 0;
            seen(entry);
        });
    }

    // Lists the greeting of every unseen entry for deletion (never for an Id
    // that is unsafe as a file name) and blanks it, then sorts 1..lastStored().
    void finish();

    // Index at which the last record was stored; 0 before the first.
    std::int16_t lastStored() const { return lastStored_; }

private:
    void seen(VoicemailBox& entry)
    {
        if (entry.SeenInFile == 0)
            ++seenEntries_;
        entry.SeenInFile = 1;
    }

    MailboxTable& table_;
    MergedFields fields_;
    QStringList& deletions_;
    std::int16_t lastStored_ = 0;
    int seenEntries_ = 0;  // entries marked seen by this merge
};

}  // namespace vm
