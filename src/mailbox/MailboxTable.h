#pragma once
// A mailbox table: mailboxes indexed from 0; element 0 is never used, 1..N are the
// boxes. Counts and indices are 16-bit: at most 32,767 boxes. An index of
// case-folded Ids keeps VmbFind fast while returning exactly what a
// first-match scan from 1 to N returns, whatever changes the table.

#include "TextFold.h"
#include "VoicemailBox.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace vm::mailbox {

// The most boxes the table holds: its indices are 16-bit.
inline constexpr int kMostBoxes = 32767;

class MailboxTable {
public:
    MailboxTable() = default;
    MailboxTable(const MailboxTable& other);
    MailboxTable& operator=(const MailboxTable& other);
    MailboxTable(MailboxTable&&) noexcept = default;
    MailboxTable& operator=(MailboxTable&&) noexcept = default;

    // False until the table is first sized (the start-up load sizes it).
    bool isSized() const;
    // Sizes the table to element 0 alone (no boxes).
    void resetToElementZero();
    // Makes room for `count` entries in all, so that appending a batch
    // allocates once; changes nothing else.
    void reserve(int count);

    // N, the upper bound; 0 when there are no boxes. Raises 9 when unsized.
    std::int16_t upperBound() const;

    // Entry i, 0..N; raises 9 outside.
    const VoicemailBox& at(int i) const;

    // Appends a new, empty entry and returns its index (N + 1); raises 6
    // past 32,767 entries, 9 when unsized.
    std::int16_t append();
    // Appends `box` as a new entry (N + 1) in one step; same errors.
    std::int16_t append(VoicemailBox&& box);
    // Appends a new entry (N + 1) that `fill(VoicemailBox&)` sets whole, all
    // twelve fields: after a reset it is handed an entry the reset retired,
    // and the values it assigns in place reuse that entry's text memory
    // instead of freeing it and asking for more. Same errors as append().
    template <class Fill>
    std::int16_t appendFilled(Fill&& fill)
    {
        const std::int16_t i = nextIndex();
        std::unique_ptr<VoicemailBox> entry = takeRetired();
        fill(*entry);
        appendKey(foldCase(entry->Id));
        entries_.push_back(std::move(entry));
        indexInsert(keys_.back(), i);
        return i;
    }
    // Replaces entry i (0..N) whole (all twelve fields); raises 9 outside.
    void store(int i, const VoicemailBox& box);
    void put(int i, VoicemailBox&& box);
    // Sets one entry's Id (other fields kept).
    void setId(int i, const QString& id);
    // Sets the merge mark.
    void setSeenInFile(int i, std::int16_t seen);
    // Removes entry r (1..N): later entries move one place down; raises 9 outside.
    void remove(int r);
    // Blanks entry i: nine strings empty, both flags 0 (the merge mark stays).
    void blank(int i);
    // Copies entry `from` over entry `to`, whole.
    void moveEntry(int from, int to);
    // Changes entry i (0..N) in place through `edit(VoicemailBox&)`; the Id
    // may change too. Raises 9 outside.
    template <class Edit>
    void update(int i, Edit&& edit)
    {
        checkIndex(i);
        VoicemailBox& entry = *entries_[static_cast<std::size_t>(i)];
        edit(entry);
        setKey(i, foldCase(entry.Id));
    }

    // First i in 1..N whose Id equals `id` ignoring case; -1 if none (also
    // when N < 1 or the table was never sized).
    std::int16_t find(const QString& id) const;
    // The same, trying entry `likely` first: a merge of a sorted list into a
    // sorted table meets the entries in order, and while no two entries
    // share an Id, an entry that carries `id` is the one find gives.
    std::int16_t find(const QString& id, int likely) const;

private:
    friend class MailboxTableAccess;

    void checkIndex(int i) const;
    std::int16_t nextIndex() const;  // N + 1, or the error appending raises
    std::unique_ptr<VoicemailBox> takeRetired();
    void setKey(int i, QString key);
    void appendKey(QString key);
    void indexInsert(const QString& key, std::int16_t i);
    void indexErase(const QString& key, std::int16_t i);
    void rebuildIndex();
    // Room for `count` keys with the index at most half full.
    void reserveIndex(std::size_t count);
    // Where `key` sits in slots_, or the empty slot where it would go.
    std::size_t locate(const QString& key, std::uint32_t hash) const;

    // Each entry in a block of its own, so that sorting and removing move
    // pointers rather than whole boxes of nine texts.
    std::vector<std::unique_ptr<VoicemailBox>> entries_;
    // keys_[i] is the case-folded Id of entries_[i]; the sort compares these.
    std::vector<QString> keys_;
    // The entries the last reset removed, kept for appendFilled to reuse
    // (from retiredNext_ on; the ones before it are handed out already).
    std::vector<std::unique_ptr<VoicemailBox>> retired_;
    std::size_t retiredNext_ = 0;
    // The index of the folded Ids of entries 1..N: open addressing with
    // linear probing in a power-of-two array, one slot per distinct key.
    // It outlives a reset and hashes without a seed, where a QHash is freed
    // and grown again on every reload (measured by BM_LoadMailboxList/32767
    // against a QHash).
    // A slot keeps no key of its own: it names the first entry carrying the
    // key (whose keys_ element it compares against) and counts the entries
    // that carry it. Ids are meant to be unique, so a count above 1 is rare;
    // when the first of several goes, the next is found by a scan.
    struct Slot {
        std::uint32_t hash = 0;
        std::int16_t first = 0;
        std::uint16_t count = 0;  // 0: empty slot
    };
    std::vector<Slot> slots_;
    std::size_t usedSlots_ = 0;
    std::size_t sharedSlots_ = 0;  // slots counting more than one entry
    // True only while keys 1..N are known to be in sort order: appends in
    // order keep it, a whole-table sort sets it, any other change of a key
    // clears it. A sort of such a table has nothing to do.
    bool keysAscending_ = true;
    bool sized_ = false;
};

// The lookup under its system name: MailboxTable::find.
inline std::int16_t VmbFind(const MailboxTable& table, const QString& id) { return table.find(id); }

}  // namespace vm::mailbox
