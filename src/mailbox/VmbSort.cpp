#include "VmbSort.h"

#include "MailboxTableAccess.h"

#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

#include <algorithm>

namespace vm::mailbox {

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

// An entry's place in the sort: its folded Id, the Id's first eight code
// units packed four to a number so that comparing the numbers compares
// those units (box numbers differ within them, so the text itself is
// rarely reached), and where the entry stood.
struct Slot {
    std::uint64_t head;
    std::uint64_t next;
    const QString* key;
    int entry;
};

std::uint64_t packedUnits(const QString& key, qsizetype from)
{
    std::uint64_t packed = 0;
    for (qsizetype k = from; k < from + 4; ++k)
        packed = (packed << 16) | (k < key.size() ? key[k].unicode() : 0u);
    return packed;
}

// Ids compare as folded code units, the empty Id first.
bool greater(const Slot& a, const Slot& b)
{
    if (a.head != b.head)
        return a.head > b.head;
    if (a.next != b.next)
        return a.next > b.next;
    return foldedKeyGreater(*a.key, *b.key);
}

}  // namespace

void sortById(MailboxTable& table, std::int16_t lo, std::int16_t hi)
{
    const int count = platform::toInt16(static_cast<long long>(hi) - lo + 1);
    if (count < 2)
        return;
    if (lo < 0 || hi > table.upperBound())
        platform::raiseError(platform::err::SubscriptOutOfRange);

    std::vector<std::unique_ptr<VoicemailBox>>& entries = MailboxTableAccess::entries(table);
    std::vector<QString>& keys = MailboxTableAccess::keys(table);
    // Entries already in order stay where they are through every pass (no
    // insertion step ever finds a greater Id before a smaller one): a list
    // file as the program writes it is loaded in order.
    const auto inOrder = [&] {
        if (MailboxTableAccess::keysAscending(table))
            return true;
        for (int k = lo; k < hi; ++k)
            if (foldedKeyGreater(keys[static_cast<std::size_t>(k)], keys[static_cast<std::size_t>(k) + 1]))
                return false;
        return true;
    };
    const bool whole = lo <= 1 && hi == table.upperBound();
    if (inOrder()) {
        if (whole)
            MailboxTableAccess::setKeysAscending(table);
        return;
    }

    // Where entries go depends on their Ids alone, so the gapped insertion
    // passes run on small (Id, position) records; the entries themselves then
    // move once, each straight to its final place.
    std::vector<Slot> order(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        const QString& key = keys[static_cast<std::size_t>(lo + k)];
        order[static_cast<std::size_t>(k)] = {packedUnits(key, 0), packedUnits(key, 4), &key, lo + k};
    }
    bool moved = false;
    for (const int gap : shellSortGaps(count)) {
        for (int i = gap; i < count; ++i) {
            if (!greater(order[i - gap], order[i]))
                continue;  // entry i stays where it is
            const Slot held = order[i];
            int j = i - gap;
            for (; j >= 0 && greater(order[j], held); j -= gap)
                order[j + gap] = order[j];
            order[j + gap] = held;
            moved = true;
        }
    }
    if (!moved)
        return;
    // Each entry goes straight to its place, cycle by cycle of the
    // permutation, without a second copy of the table.
    for (int start = 0; start < count; ++start) {
        if (order[start].entry == lo + start || order[start].entry < 0)
            continue;
        const auto first = static_cast<std::size_t>(lo + start);
        std::unique_ptr<VoicemailBox> heldEntry = std::move(entries[first]);
        QString heldKey = std::move(keys[first]);
        int to = start;
        for (;;) {
            const int from = order[to].entry - lo;
            order[to].entry = -1;  // placed
            const auto target = static_cast<std::size_t>(lo + to);
            if (from == start) {
                entries[target] = std::move(heldEntry);
                keys[target] = std::move(heldKey);
                break;
            }
            entries[target] = std::move(entries[static_cast<std::size_t>(lo + from)]);
            keys[target] = std::move(keys[static_cast<std::size_t>(lo + from)]);
            to = from;
        }
    }
    MailboxTableAccess::reindex(table);
    if (whole)
        MailboxTableAccess::setKeysAscending(table);
}

void VmbSort(MailboxTable& table, std::int16_t& lo, std::int16_t& hi) { sortById(table, lo, hi); }

}  // namespace vm::mailbox
