#pragma once
// VmbArray: mailboxes indexed from 0; element 0 is never used, 1..N are the
// boxes. Counts and indices are 16-bit: at most 32,767 boxes. An index of
// lower-cased Ids keeps VmbFind fast while returning exactly what a
// first-match scan from 1 to N returns.

#include "VoicemailBox.h"

#include <cstdint>
#include <vector>

namespace vm {

class MailboxTable {
public:
    // False until the table is first sized (the start-up load sizes it).
    bool isSized() const;
    // Sizes the table to element 0 alone (no boxes).
    void resetToElementZero();
    // Back to never sized (tests).
    void unsize();

    // N, the upper bound; 0 when there are no boxes. Raises 9 when unsized.
    std::int16_t upperBound() const;

    // Entry i, 0..N; raises 9 outside.
    const VoicemailBox& at(int i) const;

    // Appends a new, empty entry and returns its index (N + 1); raises 6
    // past 32,767 entries.
    std::int16_t append();
    // Replaces entry i whole (all twelve fields).
    void store(int i, const VoicemailBox& box);
    // Sets one entry's Id (other fields kept).
    void setId(int i, const QString& id);
    // Sets the merge mark.
    void setSeenInFile(int i, std::int16_t seen);
    // Removes entry r (1..N): later entries move one place down.
    void remove(int r);
    // Blanks entry i: nine strings empty, both flags 0.
    void blank(int i);
    // Swaps/moves used by the sort go through here so the index stays right.
    void moveEntry(int from, int to);  // copies entry `from` over entry `to`
    void put(int i, VoicemailBox&& box);

    // Index lookup: first i in 1..N with Id equal to `id` ignoring case, -1 if none.
    std::int16_t find(const QString& id) const;

private:
    // implementation detail chosen by the mailbox store
    friend class MailboxTableAccess;
    struct Impl;
    std::vector<VoicemailBox> entries_;
    bool sized_ = false;
};

}  // namespace vm
