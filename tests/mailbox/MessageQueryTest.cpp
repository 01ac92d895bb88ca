#include "mailbox/MessageQuery.h"

#include "support/EnvironmentScope.h"

#include <QStringList>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace vm::mailbox;

// Criteria are built with designated initializers; the fields left out keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

MessageInfo message(const QString& file, const QDateTime& written, std::optional<double> seconds)
{
    MessageInfo m;
    m.file = file;
    m.parts = messageNameParts(file);
    m.box = m.parts ? m.parts->id : leadingId(file);
    m.seconds = written.toSecsSinceEpoch();
    if (seconds)
        m.sound = {true, *seconds, {}};
    return m;
}

QDateTime utc(int day, int hour, int minute, int second)
{
    return {QDate(2026, 3, day), QTime(hour, minute, second), QTimeZone::utc()};
}

// a and b share box 101; b is 4.5 s and d 5.5 s long (whole seconds: 4 and
// 6); c is still being written; e has no message's name.
const std::vector<MessageInfo> kListing = {
    message("101_0307000000_1_3_5551234.wav", utc(7, 0, 0, 0), 30.4),
    message("101_0306235959_0_4_5559999.wav", utc(6, 23, 59, 59), 4.5),
    message("20_0308235959_0_1_Anonymous.wav", utc(8, 23, 59, 59), std::nullopt),
    message("9_0309000000_1_1000_999.wav", utc(9, 0, 0, 0), 5.5),
    message("odd name.wav", utc(7, 12, 0, 0), 10),
};

// The listing's letters a to e, in the order found.
QString found(const MessageCriteria& criteria, MessageOrder order = {})
{
    QString letters;
    for (const MessageInfo& m : findMessages(kListing, criteria, order)) {
        const auto at = std::find_if(kListing.begin(), kListing.end(), [&](auto& l) { return l.file == m.file; });
        letters += QChar(u'a' + static_cast<char16_t>(at - kListing.begin()));
    }
    return letters;
}

}  // namespace

TEST(MessageQuery, EachCriterionTakesItsMessagesAndTheyCombine)
{
    const QDate sixth(2026, 3, 6), seventh(2026, 3, 7), eighth(2026, 3, 8);
    const struct {
        MessageCriteria criteria;
        const char* expected;  // in box order
    } cases[] = {
        {{}, "dcbae"},
        {{.caller = "555"}, "ba"},
        {{.caller = "anon"}, "c"},
        {{.box = "101"}, "ba"},
        {{.box = "9"}, "d"},
        {{.from = seventh}, "dcae"},
        {{.to = eighth}, "cbae"},
        {{.from = seventh, .to = seventh}, "ae"},
        {{.from = sixth, .to = sixth}, "b"},
        {{.kind = MessageKind::New}, "da"},
        {{.kind = MessageKind::Saved}, "cb"},
        {{.minSeconds = 5}, "dae"},
        {{.minSeconds = 6}, "dae"},
        {{.minSeconds = 7}, "ae"},
        {{.caller = "5", .kind = MessageKind::New}, "a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(found(c.criteria).toStdString(), c.expected) << c.criteria.caller.toStdString();
}

TEST(MessageQuery, DaysAreTheLocalOnes)
{
    const vm::test::EnvironmentScope east({{"TZ", "XYZ-13"}});  // 13 hours ahead of UTC
    MessageCriteria seventh;
    seventh.from = seventh.to = QDate(2026, 3, 7);
    EXPECT_EQ(found(seventh).toStdString(), "ba");
}

TEST(MessageQuery, EachKeyOrdersWithBoxThenDateForTiesAndReverseTurnsItRound)
{
    const struct {
        MessageOrder order;
        const char* expected;
    } cases[] = {
        {{MessageKey::Box, false}, "dcbae"},    {{MessageKey::Box, true}, "eabcd"},
        {{MessageKey::Date, false}, "baecd"},   {{MessageKey::Date, true}, "dceab"},
        {{MessageKey::Length, false}, "cbdea"}, {{MessageKey::Caller, false}, "eabdc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(found({}, c.order).toStdString(), c.expected) << static_cast<int>(c.order.key);
}
