#pragma once
// Storing one box as the window's Add / Modify button does: the entry whose
// Id equals the box's (ignoring case) takes every field of it; a box with a
// new Id is appended, and the table is sorted again so that it lands in Id
// order. The fields arrive already filtered (BoxText.h).

#include "MailboxTable.h"

namespace vm::mailbox {

enum class Stored { Added, Changed };

enum class SortAfterAdding { Yes, No };

// Raises 6 when a 32,768th entry would be appended. With SortAfterAdding::No
// the caller sorts 1..N itself once it has stored a batch: each addition's
// sort takes in the whole table, so one sort at the end ends the same way.
Stored storeBox(MailboxTable& table, const VoicemailBox& box, SortAfterAdding sort = SortAfterAdding::Yes);

}  // namespace vm::mailbox
