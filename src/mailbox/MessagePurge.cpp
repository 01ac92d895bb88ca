#include "MessagePurge.h"

#include "MessageFileName.h"
#include "MessageListing.h"

#include "platform/NativeName.h"

#include <QFile>

#include <sys/stat.h>

namespace vm::mailbox {

std::vector<PurgeCandidate> purgeCandidates(const PurgeRule& rule, const QDateTime& now)
{
    const std::int64_t cutOff = now.toSecsSinceEpoch() - std::int64_t{rule.olderThanDays} * 86400;
    std::vector<PurgeCandidate> chosen;
    // One thread: the entries come in the scan's order, which is the order chosen.
    scanMessageFolder(rule.box).read(0, 1, [&](std::size_t, const platform::FolderEntry& e) {
        if (!S_ISREG(e.status.st_mode) || e.status.st_mtim.tv_sec >= cutOff)
            return;
        const QString name = platform::nameText(e.name);
        const std::optional<MessageNameParts> parts = messageNameParts(name);
        if (!parts || (rule.savedOnly && parts->marker == QLatin1String("1")))
            return;
        chosen.push_back({name, e.status.st_mtim.tv_sec, e.status.st_size, e.status.st_mode});
    });
    return chosen;
}

}  // namespace vm::mailbox
