#include "MailboxMerge.h"

#include "SafeFileName.h"
#include "VmbSort.h"

#include "config/Paths.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

namespace vm {

namespace {

void copyFields(VoicemailBox& entry, const VoicemailBox& record, MergedFields fields)
{
    entry.Id = record.Id;  // as the file writes it: its letter case may differ
    entry.Pin = record.Pin;
    entry.Groups = record.Groups;
    entry.Description = record.Description;
    entry.EmailForward = record.EmailForward;
    entry.PhoneForward = record.PhoneForward;
    entry.PagerNumber = record.PagerNumber;
    entry.PagerMessage = record.PagerMessage;
    if (fields == MergedFields::All) {
        entry.OnReceive = record.OnReceive;
        entry.FtpUpload = record.FtpUpload;
        entry.DeleteAfterForward = record.DeleteAfterForward;
    }
}

void deleteGreetingOf(const QString& id)
{
    if (!isSafeFileNamePart(id))
        return;
    ignoreErrors([&] { fs::deleteFile(paths::greetingFile(id)); });
}

}  // namespace

MailboxMerge::MailboxMerge(MailboxTable& table, MergedFields fields) : table_(table), fields_(fields)
{
    if (!table_.isSized())
        table_.resetToElementZero();
    const int n = table_.upperBound();
    for (int i = 1; i <= n; ++i)
        table_.setSeenInFile(i, 0);
}

void MailboxMerge::take(const VoicemailBox& record)
{
    const std::int16_t found = table_.find(record.Id);
    const std::int16_t j = found < 0 ? table_.append() : found;
    VoicemailBox entry = table_.at(j);
    copyFields(entry, record, fields_);
    entry.SeenInFile = 1;
    table_.put(j, std::move(entry));
    lastStored_ = j;
}

void MailboxMerge::finish()
{
    const int n = table_.upperBound();
    for (int i = 1; i <= n; ++i) {
        if (table_.at(i).SeenInFile != 0)
            continue;
        deleteGreetingOf(table_.at(i).Id);
        table_.blank(i);
    }
    if (lastStored_ > 0)
        sortById(table_, 1, lastStored_);
}

}  // namespace vm
