#pragma once
// The Shell sort of the mailbox table on Id, ascending in case-insensitive
// text order ("" first, "10" before "9"). Entries move whole; the sort is not
// stable, and the exact sequence of gaps decides where equal Ids end up, so
// it must stay exactly this one.

#include "MailboxTable.h"

#include <cstdint>
#include <vector>

namespace vm::mailbox {

// The gaps used for `count` entries, largest first, always ending with 1.
// Up to 13 entries the sort is a plain insertion sort.
std::vector<int> shellSortGaps(int count);

// Sorts entries lo..hi of `table`. Raises 9 when the range leaves 0..N and
// something would be compared, 6 when the count leaves 16 bits.
void sortById(MailboxTable& table, std::int16_t lo, std::int16_t hi);

// The sort under its system name, its bounds passed as variables.
void VmbSort(MailboxTable& table, std::int16_t& lo, std::int16_t& hi);

}  // namespace vm::mailbox
