#include "MailboxMerge.h"

#include "SafeFileName.h"
#include "VmbSort.h"

#include "config/Paths.h"

namespace vm {

namespace {

void moveFields(VoicemailBox& entry, VoicemailBox&& record, MergedFields fields)
{
    entry.Id = std::move(record.Id);  // as the file writes it: its letter case may differ
    entry.Pin = std::move(record.Pin);
    entry.Groups = std::move(record.Groups);
    entry.Description = std::move(record.Description);
    entry.EmailForward = std::move(record.EmailForward);
    entry.PhoneForward = std::move(record.PhoneForward);
    entry.PagerNumber = std::move(record.PagerNumber);
    entry.PagerMessage = std::move(record.PagerMessage);
    if (fields == MergedFields::All) {
        entry.OnReceive = std::move(record.OnReceive);
        entry.FtpUpload = record.FtpUpload;
        entry.DeleteAfterForward = record.DeleteAfterForward;
    }
}

}  // namespace

MailboxMerge::MailboxMerge(MailboxTable& table, MergedFields fields, QStringList& deletions)
    : table_(table), fields_(fields), deletions_(deletions)
{
    if (!table_.isSized())
        table_.resetToElementZero();
    seen_.assign(static_cast<std::size_t>(table_.upperBound()) + 1, 0);
}

void MailboxMerge::take(VoicemailBox&& record)
{
    // The Id is looked up before the fields move into the entry.
    const QString id = record.Id;
    takeInPlace(id, [&](VoicemailBox& entry) { moveFields(entry, std::move(record), fields_); });
}

void MailboxMerge::finish()
{
    const int n = table_.upperBound();
    // When the file named every entry there is nothing to blank.
    for (int i = seenEntries_ == n ? n + 1 : 1; i <= n; ++i) {
        if (static_cast<std::size_t>(i) < seen_.size() && seen_[static_cast<std::size_t>(i)])
            continue;
        table_.setSeenInFile(i, 0);
        const QString& id = table_.at(i).Id;
        if (isSafeFileNamePart(id))
            deletions_.append(paths::greetingFile(id));
        table_.blank(i);
    }
    if (lastStored_ > 0)
        sortById(table_, 1, lastStored_);
}

}  // namespace vm
