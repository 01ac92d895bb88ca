#pragma once
// Raw access to the table's storage for the sort, which moves thousands of
// entries and re-indexes once at the end instead of after every move.
// Only the mailbox store itself includes this header.

#include "MailboxTable.h"

namespace vm::mailbox {

class MailboxTableAccess {
public:
    static std::vector<std::unique_ptr<VoicemailBox>>& entries(MailboxTable& t) { return t.entries_; }
    static std::vector<QString>& keys(MailboxTable& t) { return t.keys_; }
    static void reindex(MailboxTable& t) { t.rebuildIndex(); }
    static bool keysAscending(const MailboxTable& t) { return t.keysAscending_; }
    static void setKeysAscending(MailboxTable& t) { t.keysAscending_ = true; }
};

}  // namespace vm::mailbox
