#include "MessageQuery.h"

#include "MessageFileName.h"

#include "platform/VbNumbers.h"

#include <QDateTime>

#include <algorithm>
#include <limits>
#include <tuple>

namespace vm::mailbox {

namespace {

const QString& callerOf(const MessageInfo& m)
{
    static const QString none;
    return m.parts ? m.parts->caller : none;
}

bool knownLength(const MessageInfo& m) { return m.notAFile.isEmpty() && m.sound.complete; }

int kindRank(const MessageInfo& m) { return m.isNew() ? 0 : (m.parts ? 1 : 2); }

template <class T>
int compareValues(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareKey(const MessageInfo& a, const MessageInfo& b, MessageKey key)
{
    switch (key) {
        case MessageKey::Box: return compareNumbered(a.box, b.box);
        case MessageKey::Date: return compareValues(a.seconds, b.seconds);
        case MessageKey::Length:
            return compareValues(std::tuple(knownLength(a), knownLength(a) ? a.sound.seconds : 0.0),
                                 std::tuple(knownLength(b), knownLength(b) ? b.sound.seconds : 0.0));
        case MessageKey::Caller: return callerOf(a).compare(callerOf(b), Qt::CaseInsensitive);
        case MessageKey::Kind: return compareValues(kindRank(a), kindRank(b));
        case MessageKey::Line:
            return compareNumbered(a.parts ? a.parts->line : QString(), b.parts ? b.parts->line : QString());
    }
    return 0;
}

}  // namespace

// Numbers as numbers: without leading zeros the longer is the larger, and
// equal lengths compare digit by digit. "01" and "1" are then told apart as
// text, so no two different texts are equal.
int compareNumbered(const QString& a, const QString& b)
{
    const bool aNumber = isDigits(a);
    const bool bNumber = isDigits(b);
    if (aNumber != bNumber)
        return aNumber ? -1 : 1;
    if (aNumber) {
        const auto significant = [](const QString& s) {
            qsizetype zeros = 0;
            while (zeros + 1 < s.size() && s[zeros] == u'0')
                ++zeros;
            return QStringView(s).mid(zeros);
        };
        const QStringView x = significant(a);
        const QStringView y = significant(b);
        if (x.size() != y.size())
            return x.size() < y.size() ? -1 : 1;
        if (const int byDigits = x.compare(y))
            return byDigits;
        return a.compare(b);
    }
    if (const int byText = a.compare(b, Qt::CaseInsensitive))
        return byText;
    return a.compare(b);
}

MessageFilter::MessageFilter(const MessageCriteria& criteria)
    : criteria_(criteria),
      fromSecs_(criteria.from ? criteria.from->startOfDay().toSecsSinceEpoch()
                              : std::numeric_limits<std::int64_t>::min()),
      untilSecs_(criteria.to ? criteria.to->addDays(1).startOfDay().toSecsSinceEpoch()
                             : std::numeric_limits<std::int64_t>::max())
{}

bool MessageFilter::matches(const MessageInfo& m) const
{
    if (m.seconds < fromSecs_ || m.seconds >= untilSecs_)
        return false;
    switch (criteria_.kind) {
        case MessageKind::All: break;
        case MessageKind::New:
            if (!m.isNew())
                return false;
            break;
        case MessageKind::Saved:
            if (!m.parts || m.isNew())
                return false;
            break;
    }
    if (criteria_.minSeconds > 0 &&
        (!knownLength(m) || platform::roundHalfEven(m.sound.seconds) < static_cast<double>(criteria_.minSeconds)))
        return false;
    if (!criteria_.box.isEmpty() && m.box.compare(criteria_.box, Qt::CaseInsensitive) != 0)
        return false;
    return criteria_.caller.isEmpty() || callerOf(m).contains(criteria_.caller, Qt::CaseInsensitive);
}

bool comesBefore(const MessageInfo& a, const MessageInfo& b, MessageOrder order)
{
    const MessageInfo& x = order.reverse ? b : a;
    const MessageInfo& y = order.reverse ? a : b;
    for (const MessageKey key : {order.key, MessageKey::Box, MessageKey::Date}) {
        if (const int c = compareKey(x, y, key))
            return c < 0;
    }
    return x.file < y.file;
}

std::vector<MessageInfo> findMessages(std::vector<MessageInfo> listing, const MessageCriteria& criteria,
                                      MessageOrder order)
{
    const MessageFilter filter(criteria);
    std::erase_if(listing, [&](const MessageInfo& m) { return !filter.matches(m); });
    std::sort(listing.begin(), listing.end(),
              [&](const MessageInfo& a, const MessageInfo& b) { return comesBefore(a, b, order); });
    return listing;
}

}  // namespace vm::mailbox
