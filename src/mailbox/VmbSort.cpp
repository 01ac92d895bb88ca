#include "VmbSort.h"

#include "MailboxTableAccess.h"
#include "VmailLib.h"

#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

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

void sortById(MailboxTable& table, std::int16_t lo, std::int16_t hi)
{
    const int count = toInt16(static_cast<long long>(hi) - lo + 1);
    if (count < 2)
        return;
    if (lo < 0 || hi > table.upperBound())
        raiseError(err::SubscriptOutOfRange);

    std::vector<VoicemailBox>& entries = MailboxTableAccess::entries(table);
    std::vector<QString>& keys = MailboxTableAccess::keys(table);
    bool moved = false;
    for (const int gap : shellSortGaps(count)) {
        for (int i = lo + gap; i <= hi; ++i) {
            // Entry i stays where it is unless its left neighbour is greater.
            if (!(keys[i - gap] > keys[i]))
                continue;
            VoicemailBox held = std::move(entries[i]);
            QString heldKey = std::move(keys[i]);
            int j = i - gap;
            while (j >= lo && keys[j] > heldKey) {
                entries[j + gap] = std::move(entries[j]);
                keys[j + gap] = std::move(keys[j]);
                j -= gap;
            }
            entries[j + gap] = std::move(held);
            keys[j + gap] = std::move(heldKey);
            moved = true;
        }
    }
    if (moved)
        MailboxTableAccess::reindex(table);
}

void VmbSort(std::int16_t& lo, std::int16_t& hi)
{
    sortById(VmbArray(), lo, hi);
}

}  // namespace vm
