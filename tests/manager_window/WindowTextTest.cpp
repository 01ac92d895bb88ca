// The texts the window works out from sizes, minutes, times and typed text.
#include "mailbox/BoxText.h"
#include "manager_window/WindowText.h"
#include "support/EnvironmentScope.h"

#include <gtest/gtest.h>

using namespace vm::manager_window;
using vm::mailbox::digitsOnly;
using vm::mailbox::trimBlanks;

TEST(WindowText, MessageLengthFromSizeAtElevenThousandBytesASecond)
{
    const struct {
        std::int64_t bytes;
        const char* shown;
    } cases[] = {
        {0, "0:00"},      {11025, "0:01"},     {16537, "0:01"},     {16538, "0:02"},
        {661500, "1:00"}, {39690000, "60:00"}, {49612500, "75:00"}, {11025 * 69, "1:09"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lengthText(playingSeconds(c.bytes)), QString::fromLatin1(c.shown)) << c.bytes;
}

TEST(WindowText, HoursAreTruncatedTenthsWithoutLeadingZero)
{
    const struct {
        std::int32_t minutes;
        const char* shown;
    } cases[] = {{125, "2.0"}, {119, "1.9"}, {60, "1.0"}, {59, ".9"},
                 {30, ".5"},   {5, ".0"},    {0, ".0"},   {6000, "100.0"}};
    for (const auto& c : cases)
        EXPECT_EQ(hoursText(c.minutes), QString::fromLatin1(c.shown)) << c.minutes;
}

TEST(WindowText, DateShowsLocalTimeWithTheDaylightSavingOfItsMoment)
{
    // A zone with summer time, for this test only (the suite runs in UTC).
    {
        const vm::test::EnvironmentScope zone({{"TZ", "CET-1CEST,M3.5.0,M10.5.0/3"}});
        const MessageDates dates;
        const struct {
            std::int64_t secs;  // UTC
            const char* shown;
        } cases[] = {
            {0, "Jan 01, 01:00:00"},          {1767618189, "Jan 05, 14:03:09"},
            {1767135600, "Dec 31, 00:00:00"}, {1774746000, "Mar 29, 03:00:00"},  // the first second of summer time
            {1792889999, "Oct 25, 02:59:59"},                                    // its last
            {2224713600, "Jul 01, 02:00:00"},                                    // 2040, past 32-bit seconds
        };
        for (const auto& c : cases)
            EXPECT_EQ(dates.text(c.secs), QString::fromLatin1(c.shown)) << c.secs;
    }
    MessageDates();  // the suite's zone again for what follows
}

TEST(WindowText, DigitFilterAndBlankTrimming)
{
    EXPECT_EQ(vm::mailbox::digitsOnly(QStringLiteral(" 1-2a3 ")), QStringLiteral("123"));
    EXPECT_EQ(vm::mailbox::digitsOnly(QStringLiteral("abc")), QString());
    // Only the ASCII digits count: other scripts' digits are dropped.
    EXPECT_EQ(vm::mailbox::digitsOnly(QStringLiteral("4\u0665\uFF17"
                                                     "2")),
              QStringLiteral("42"));
    EXPECT_EQ(vm::mailbox::trimBlanks(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(vm::mailbox::trimBlanks(QStringLiteral("\ta \t")), QStringLiteral("\ta \t"));
    EXPECT_EQ(vm::mailbox::trimBlanks(QStringLiteral("   ")), QString());
}
