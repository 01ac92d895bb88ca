#include "MailboxTable.h"

#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

#include <algorithm>

namespace vm {

bool MailboxTable::isSized() const { return sized_; }

void MailboxTable::resetToElementZero()
{
    entries_.assign(1, VoicemailBox{});
    keys_.assign(1, QString());
    index_.clear();
    sized_ = true;
}

void MailboxTable::unsize()
{
    entries_.clear();
    keys_.clear();
    index_.clear();
    sized_ = false;
}

void MailboxTable::reserve(int count)
{
    entries_.reserve(static_cast<std::size_t>(count));
    keys_.reserve(static_cast<std::size_t>(count));
    index_.reserve(static_cast<std::size_t>(count));
}

std::int16_t MailboxTable::upperBound() const
{
    if (!sized_)
        raiseError(err::SubscriptOutOfRange);
    return static_cast<std::int16_t>(entries_.size() - 1);
}

void MailboxTable::checkIndex(int i) const
{
    if (!sized_ || i < 0 || i >= static_cast<int>(entries_.size()))
        raiseError(err::SubscriptOutOfRange);
}

const VoicemailBox& MailboxTable::at(int i) const
{
    checkIndex(i);
    return entries_[static_cast<std::size_t>(i)];
}

std::int16_t MailboxTable::append() { return append(VoicemailBox{}); }

std::int16_t MailboxTable::append(VoicemailBox&& box)
{
    const std::int16_t i = toInt16(static_cast<long long>(upperBound()) + 1);
    keys_.push_back(foldCase(box.Id));
    entries_.push_back(std::move(box));
    indexInsert(keys_.back(), i);
    return i;
}

void MailboxTable::store(int i, const VoicemailBox& box) { put(i, VoicemailBox(box)); }

void MailboxTable::put(int i, VoicemailBox&& box)
{
    checkIndex(i);
    QString key = foldCase(box.Id);
    entries_[static_cast<std::size_t>(i)] = std::move(box);
    setKey(i, std::move(key));
}

void MailboxTable::setId(int i, const QString& id)
{
    checkIndex(i);
    entries_[static_cast<std::size_t>(i)].Id = id;
    setKey(i, foldCase(id));
}

void MailboxTable::setSeenInFile(int i, std::int16_t seen)
{
    checkIndex(i);
    entries_[static_cast<std::size_t>(i)].SeenInFile = seen;
}

void MailboxTable::remove(int r)
{
    if (r < 1)
        raiseError(err::SubscriptOutOfRange);
    checkIndex(r);
    entries_.erase(entries_.begin() + r);
    keys_.erase(keys_.begin() + r);
    // Every later index moves down by one: cheaper to rebuild than to patch.
    rebuildIndex();
}

void MailboxTable::blank(int i)
{
    checkIndex(i);
    VoicemailBox& e = entries_[static_cast<std::size_t>(i)];
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
    entries_[static_cast<std::size_t>(to)] = entries_[static_cast<std::size_t>(from)];
    setKey(to, keys_[static_cast<std::size_t>(from)]);
}

std::size_t MailboxTable::KeyHash::operator()(const QString& key) const noexcept
{
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (const QChar c : key) {
        h ^= c.unicode();
        h *= 1099511628211ull;
    }
    return static_cast<std::size_t>(h);
}

std::int16_t MailboxTable::find(const QString& id) const
{
    if (!sized_ || entries_.size() < 2)
        return -1;
    const auto it = index_.find(foldCase(id));
    if (it == index_.end() || it->second.empty())
        return -1;
    return it->second.front();
}

void MailboxTable::setKey(int i, QString key)
{
    QString& current = keys_[static_cast<std::size_t>(i)];
    if (current == key)
        return;
    // Element 0 is never looked up, so it stays out of the index.
    if (i > 0) {
        indexErase(current, static_cast<std::int16_t>(i));
        indexInsert(key, static_cast<std::int16_t>(i));
    }
    current = std::move(key);
}

void MailboxTable::indexInsert(const QString& key, std::int16_t i)
{
    Positions& positions = index_[key];
    // Appends and ascending scans insert at the end: the common case is O(1).
    if (positions.empty() || positions.back() < i)
        positions.push_back(i);
    else
        positions.insert(std::lower_bound(positions.begin(), positions.end(), i), i);
}

void MailboxTable::indexErase(const QString& key, std::int16_t i)
{
    const auto it = index_.find(key);
    if (it == index_.end())
        return;
    Positions& positions = it->second;
    const auto pos = std::lower_bound(positions.begin(), positions.end(), i);
    if (pos != positions.end() && *pos == i)
        positions.erase(pos);
    if (positions.empty())
        index_.erase(it);
}

void MailboxTable::rebuildIndex()
{
    // A sort keeps the same Ids, so the nodes are reused rather than freed
    // and allocated again; Ids no longer present are dropped at the end.
    for (auto& [key, positions] : index_)
        positions.clear();
    for (std::size_t i = 1; i < keys_.size(); ++i)
        index_[keys_[i]].push_back(static_cast<std::int16_t>(i));
    std::erase_if(index_, [](const auto& node) { return node.second.empty(); });
}

}  // namespace vm
