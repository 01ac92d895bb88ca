#include "VmbSort.h"

#include "MailboxTableAccess.h"
#include "VmailLib.h"

#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

#include <algorithm>

namespace vm {

std::vector<int> shellSortGaps(int count)
{
    // The climb passes 32,767 for large tables (29,524 * 3 + 1), so the gap
    // itself is not a 16-bit value.
    int gap = 1;
    if (count > 13) {
        while (gap < count)
            gap = 3 * gap + 1;
        gap /= 3;
        if (static_cast<double>(gap) > 0.8 * static_cast<double>(count))
            gap /= 3;
    }
    std::vector<int> gaps;
    for (; gap >= 1; gap /= 3)
        gaps.push_back(gap);
    return gaps;
}

namespace {

// Ids compare as folded code units, the empty Id first.
bool greater(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    for (qsizetype k = 0; k < n; ++k)
        if (pa[k] != pb[k])
            return pa[k].unicode() > pb[k].unicode();
    return a.size() > b.size();
}

struct Slot {
    const QString* key;
    int entry;
};

}  // namespace

void sortById(MailboxTable& table, std::int16_t lo, std::int16_t hi)
{
    const int count = toInt16(static_cast<long long>(hi) - lo + 1);
    if (count < 2)
        return;
    if (lo < 0 || hi > table.upperBound())
        raiseError(err::SubscriptOutOfRange);

    // Where entries go depends on their Ids alone, so the gapped insertion
    // passes run on small (Id, position) order; the entries themselves then
    // move once, each straight to its final place.
    std::vector<VoicemailBox>& entries = MailboxTableAccess::entries(table);
    std::vector<QString>& keys = MailboxTableAccess::keys(table);
    std::vector<Slot> order(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k)
        order[static_cast<std::size_t>(k)] = {&keys[static_cast<std::size_t>(lo + k)], lo + k};
    bool moved = false;
    for (const int gap : shellSortGaps(count)) {
        for (int i = gap; i < count; ++i) {
            if (!greater(*order[i - gap].key, *order[i].key))
                continue;  // entry i stays where it is
            const Slot held = order[i];
            int j = i - gap;
            for (; j >= 0 && greater(*order[j].key, *held.key); j -= gap)
                order[j + gap] = order[j];
            order[j + gap] = held;
            moved = true;
        }
    }
    if (!moved)
        return;
    std::vector<VoicemailBox> sortedEntries;
    std::vector<QString> sortedKeys;
    sortedEntries.reserve(order.size());
    sortedKeys.reserve(order.size());
    for (const Slot& s : order) {
        sortedEntries.push_back(std::move(entries[static_cast<std::size_t>(s.entry)]));
        sortedKeys.push_back(std::move(keys[static_cast<std::size_t>(s.entry)]));
    }
    std::move(sortedEntries.begin(), sortedEntries.end(), entries.begin() + lo);
    std::move(sortedKeys.begin(), sortedKeys.end(), keys.begin() + lo);
    MailboxTableAccess::reindex(table);
}

void VmbSort(std::int16_t& lo, std::int16_t& hi)
{
    sortById(VmbArray(), lo, hi);
}

}  // namespace vm
