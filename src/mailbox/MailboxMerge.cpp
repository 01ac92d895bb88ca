#include "MailboxMerge.h"

#include "SafeFileName.h"
#include "VmbSort.h"

#include "config/Paths.h"

namespace vm::mailbox {

MailboxMerge::MailboxMerge(MailboxTable& table, MergedFields fields, QStringList& deletions)
    : table_(table), fields_(fields), deletions_(deletions)
{
    if (!table_.isSized())
        table_.resetToElementZero();
    seen_.assign(static_cast<std::size_t>(table_.upperBound()) + 1, 0);
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
            deletions_.append(config::greetingFile(id));
        table_.blank(i);
    }
    if (lastStored_ > 0)
        sortById(table_, 1, lastStored_);
}

}  // namespace vm::mailbox
