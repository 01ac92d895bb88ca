#include "MailboxTable.h"

#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

#include <algorithm>

namespace vm::mailbox {

MailboxTable::MailboxTable(const MailboxTable& other)
    : keys_(other.keys_),
      slots_(other.slots_),
      usedSlots_(other.usedSlots_),
      sharedSlots_(other.sharedSlots_),
      keysAscending_(other.keysAscending_),
      sized_(other.sized_)
{
    entries_.reserve(other.entries_.size());
    for (const auto& e : other.entries_)
        entries_.push_back(std::make_unique<VoicemailBox>(*e));
}

MailboxTable& MailboxTable::operator=(const MailboxTable& other)
{
    if (this != &other)
        *this = MailboxTable(other);
    return *this;
}

bool MailboxTable::isSized() const { return sized_; }

void MailboxTable::resetToElementZero()
{
    // The entries are kept for a reload to fill in place (appendFilled); the
    // retired ones left over from an earlier reset go now.
    std::swap(entries_, retired_);
    retiredNext_ = 0;
    entries_.clear();
    entries_.reserve(retired_.size());
    entries_.push_back(takeRetired());
    *entries_.front() = VoicemailBox{};
    // Dropping the keys leaves the retired Ids unshared, so that assigning to
    // them reuses their memory.
    keys_.assign(1, QString());
    std::fill(slots_.begin(), slots_.end(), Slot{});
    usedSlots_ = 0;
    sharedSlots_ = 0;
    keysAscending_ = true;
    sized_ = true;
}

void MailboxTable::reserve(int count)
{
    entries_.reserve(static_cast<std::size_t>(count));
    keys_.reserve(static_cast<std::size_t>(count));
    reserveIndex(static_cast<std::size_t>(count));
}

std::int16_t MailboxTable::upperBound() const
{
    if (!sized_)
        platform::raiseError(platform::err::SubscriptOutOfRange);
    return static_cast<std::int16_t>(entries_.size() - 1);
}

void MailboxTable::checkIndex(int i) const
{
    if (!sized_ || i < 0 || i >= static_cast<int>(entries_.size()))
        platform::raiseError(platform::err::SubscriptOutOfRange);
}

const VoicemailBox& MailboxTable::at(int i) const
{
    checkIndex(i);
    return *entries_[static_cast<std::size_t>(i)];
}

std::int16_t MailboxTable::append() { return append(VoicemailBox{}); }

std::int16_t MailboxTable::nextIndex() const { return platform::toInt16(static_cast<long long>(upperBound()) + 1); }

std::unique_ptr<VoicemailBox> MailboxTable::takeRetired()
{
    if (retiredNext_ >= retired_.size())
        return std::make_unique<VoicemailBox>();
    return std::move(retired_[retiredNext_++]);
}

std::int16_t MailboxTable::append(VoicemailBox&& box)
{
    return appendFilled([&](VoicemailBox& entry) { entry = std::move(box); });
}

void MailboxTable::store(int i, const VoicemailBox& box) { put(i, VoicemailBox(box)); }

void MailboxTable::put(int i, VoicemailBox&& box)
{
    checkIndex(i);
    QString key = foldCase(box.Id);
    *entries_[static_cast<std::size_t>(i)] = std::move(box);
    setKey(i, std::move(key));
}

void MailboxTable::setId(int i, const QString& id)
{
    checkIndex(i);
    entries_[static_cast<std::size_t>(i)]->Id = id;
    setKey(i, foldCase(id));
}

void MailboxTable::setSeenInFile(int i, std::int16_t seen)
{
    checkIndex(i);
    entries_[static_cast<std::size_t>(i)]->SeenInFile = seen;
}

void MailboxTable::remove(int r)
{
    if (r < 1)
        platform::raiseError(platform::err::SubscriptOutOfRange);
    checkIndex(r);
    entries_.erase(entries_.begin() + r);
    keys_.erase(keys_.begin() + r);
    // Every later index moves down by one: cheaper to rebuild than to patch.
    rebuildIndex();
}

void MailboxTable::blank(int i)
{
    checkIndex(i);
    VoicemailBox& e = *entries_[static_cast<std::size_t>(i)];
    const std::int16_t seen = e.SeenInFile;
    e = VoicemailBox{};
    e.SeenInFile = seen;
    setKey(i, QString());
}

void MailboxTable::moveEntry(int from, int to)
{
    checkIndex(from);
    checkIndex(to);
    if (from == to)
        return;
    *entries_[static_cast<std::size_t>(to)] = *entries_[static_cast<std::size_t>(from)];
    setKey(to, keys_[static_cast<std::size_t>(from)]);
}

namespace {

// FNV-1a over the code units: the table is local and small, and a seeded
// string hash costs more than the rest of a lookup.
std::uint32_t hashOf(const QString& key)
{
    std::uint32_t h = 2166136261u;
    for (const QChar c : key) {
        h ^= c.unicode();
        h *= 16777619u;
    }
    return h;
}

}  // namespace

std::size_t MailboxTable::locate(const QString& key, std::uint32_t hash) const
{
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t pos = hash & mask;; pos = (pos + 1) & mask) {
        const Slot& s = slots_[pos];
        if (s.count == 0 || (s.hash == hash && keys_[static_cast<std::size_t>(s.first)] == key))
            return pos;
    }
}

std::int16_t MailboxTable::find(const QString& id) const
{
    if (!sized_ || entries_.size() < 2 || usedSlots_ == 0)
        return -1;
    const QString key = foldCase(id);
    const Slot& s = slots_[locate(key, hashOf(key))];
    return s.count == 0 ? std::int16_t{-1} : s.first;
}

std::int16_t MailboxTable::find(const QString& id, int likely) const
{
    if (!sized_ || sharedSlots_ != 0 || likely < 1 || likely >= static_cast<int>(entries_.size()))
        return find(id);
    const QString key = foldCase(id);
    if (keys_[static_cast<std::size_t>(likely)] == key)
        return static_cast<std::int16_t>(likely);
    const Slot& s = slots_[locate(key, hashOf(key))];
    return s.count == 0 ? std::int16_t{-1} : s.first;
}

void MailboxTable::appendKey(QString key)
{
    if (keys_.size() > 1 && foldedKeyGreater(keys_.back(), key))
        keysAscending_ = false;
    keys_.push_back(std::move(key));
}

void MailboxTable::setKey(int i, QString key)
{
    QString& current = keys_[static_cast<std::size_t>(i)];
    if (current == key)
        return;
    if (i > 0)
        keysAscending_ = false;
    // Element 0 is never looked up, so it stays out of the index.
    if (i > 0) {
        indexErase(current, static_cast<std::int16_t>(i));
        indexInsert(key, static_cast<std::int16_t>(i));
    }
    current = std::move(key);
}

void MailboxTable::reserveIndex(std::size_t count)
{
    std::size_t size = 16;
    while (size < 2 * (count + 1))
        size *= 2;
    if (size <= slots_.size())
        return;
    std::vector<Slot> old(size);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
        if (s.count == 0)
            continue;
        std::size_t pos = s.hash & mask;
        while (slots_[pos].count != 0)
            pos = (pos + 1) & mask;
        slots_[pos] = s;
    }
}

void MailboxTable::indexInsert(const QString& key, std::int16_t i)
{
    reserveIndex(usedSlots_ + 1);
    const std::uint32_t hash = hashOf(key);
    Slot& s = slots_[locate(key, hash)];
    if (s.count == 0) {
        s = Slot{hash, i, 1};
        ++usedSlots_;
        return;
    }
    if (++s.count == 2)
        ++sharedSlots_;
    s.first = std::min(s.first, i);
}

void MailboxTable::indexErase(const QString& key, std::int16_t i)
{
    if (slots_.empty())
        return;
    std::size_t hole = locate(key, hashOf(key));
    Slot& s = slots_[hole];
    if (s.count == 0)
        return;
    if (--s.count == 1)
        --sharedSlots_;
    if (s.count > 0) {
        // Another entry carries the key: the first one after i, when i was first.
        if (s.first == i) {
            std::size_t next = static_cast<std::size_t>(i) + 1;
            while (next < keys_.size() && keys_[next] != key)
                ++next;
            s.first = static_cast<std::int16_t>(next);
        }
        return;
    }
    // The key is gone: close the gap so that every later key of the probe
    // run stays reachable from its home slot.
    --usedSlots_;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t pos = (hole + 1) & mask; slots_[pos].count != 0; pos = (pos + 1) & mask) {
        const std::size_t home = slots_[pos].hash & mask;
        // The slot may move to the hole when its home is not within (hole, pos].
        const bool stays = hole < pos ? (home > hole && home <= pos) : (home > hole || home <= pos);
        if (!stays) {
            slots_[hole] = slots_[pos];
            hole = pos;
        }
    }
    slots_[hole] = Slot{};
}

void MailboxTable::rebuildIndex()
{
    std::fill(slots_.begin(), slots_.end(), Slot{});
    usedSlots_ = 0;
    sharedSlots_ = 0;
    reserveIndex(keys_.size());
    for (std::size_t i = 1; i < keys_.size(); ++i)
        indexInsert(keys_[i], static_cast<std::int16_t>(i));
}

}  // namespace vm::mailbox
