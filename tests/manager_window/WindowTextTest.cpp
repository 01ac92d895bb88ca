// The texts the window works out from sizes, minutes, times and typed text.
#include "mailbox/BoxText.h"
#include "manager_window/WindowText.h"

#include <gtest/gtest.h>

using namespace vm::window;
using vm::digitsOnly;
using vm::trimBlanks;

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

TEST(WindowText, DateShowsAbbreviatedMonthDayAndTwentyFourHourTime)
{
    EXPECT_EQ(messageDateText(QDateTime(QDate(2026, 1, 5), QTime(14, 3, 9))), QStringLiteral("Jan 05, 14:03:09"));
    EXPECT_EQ(messageDateText(QDateTime(QDate(2025, 12, 31), QTime(0, 0, 0))), QStringLiteral("Dec 31, 00:00:00"));
}

TEST(WindowText, DigitFilterAndBlankTrimming)
{
    EXPECT_EQ(digitsOnly(QStringLiteral(" 1-2a3 ")), QStringLiteral("123"));
    EXPECT_EQ(digitsOnly(QStringLiteral("abc")), QString());
    // Only the ASCII digits count: other scripts' digits are dropped.
    EXPECT_EQ(digitsOnly(QStringLiteral("4\u0665\uFF17"
                                        "2")),
              QStringLiteral("42"));
    EXPECT_EQ(trimBlanks(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(trimBlanks(QStringLiteral("\ta \t")), QStringLiteral("\ta \t"));
    EXPECT_EQ(trimBlanks(QStringLiteral("   ")), QString());
}
