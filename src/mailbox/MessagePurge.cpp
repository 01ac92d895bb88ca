#include "MessagePurge.h"

#include "MessageFileName.h"

#include "config/Paths.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QFile>

#include <sys/stat.h>

#include <algorithm>

namespace vm::mailbox {

std::vector<PurgeCandidate> purgeCandidates(const PurgeRule& rule, const QDateTime& now)
{
    const std::int64_t cutOff = now.toSecsSinceEpoch() - std::int64_t{rule.olderThanDays} * 86400;
    std::vector<PurgeCandidate> chosen;
    const auto each = [&](const platform::FolderEntry& e) {
        if (!S_ISREG(e.status.st_mode) || e.status.st_mtim.tv_sec >= cutOff)
            return;
        const QString name = QFile::decodeName(e.name);
        const std::optional<MessageNameParts> parts = messageNameParts(name);
        if (!parts || (rule.savedOnly && parts->marker == QLatin1String("1")) ||
            (!rule.box.isEmpty() && parts->id.compare(rule.box, Qt::CaseInsensitive) != 0))
            return;
        chosen.push_back({name, e.status.st_mtim.tv_sec, e.status.st_size});
    };
    try {
        platform::forEachEntry(config::messageFolder(), 0, each);
    } catch (const platform::RuntimeError& e) {
        if (e.number() != platform::err::FileNotFound && e.number() != platform::err::PathNotFound)
            throw;
    }
    std::sort(chosen.begin(), chosen.end(),
              [](const PurgeCandidate& a, const PurgeCandidate& b) { return a.file < b.file; });
    return chosen;
}

}  // namespace vm::mailbox
