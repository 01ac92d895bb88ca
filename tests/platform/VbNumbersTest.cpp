#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vm;

static int errorOf(auto&& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(VbNumbers, RoundsHalfToEven)
{
    const std::pair<double, double> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
        {2.4999, 2}, {2.5001, 3}, {1.0, 1}, {-1.2, -1}, {1e15 + 0.5, 1e15},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(roundHalfEven(in), out) << in;
}

TEST(VbNumbers, SixteenBitRangeOverflowsWithError6)
{
    EXPECT_EQ(toInt16(32767), 32767);
    EXPECT_EQ(toInt16(-32768), -32768);
    EXPECT_EQ(errorOf([] { toInt16(32768); }), 6);
    EXPECT_EQ(errorOf([] { toInt16(-32769); }), 6);
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_EQ(errorOf([] { roundToInt16(32767.5); }), 6);  // rounds to 32768
    EXPECT_EQ(roundToInt16(-32768.5), -32768);             // half to even stays in range
    EXPECT_EQ(errorOf([] { roundToInt16(std::numeric_limits<double>::quiet_NaN()); }), 6);
    EXPECT_EQ(errorOf([] { toInt32(2147483648LL); }), 6);
}

TEST(VbNumbers, Int16ArithmeticChecksEveryStep)
{
    Int16 n = 32766;
    ++n;
    EXPECT_EQ(static_cast<int>(n), 32767);
    EXPECT_EQ(errorOf([&] { ++n; }), 6);
    EXPECT_EQ(static_cast<int>(n), 32767);  // unchanged after the failed step
    Int16 m = -32768;
    EXPECT_EQ(errorOf([&] { --m; }), 6);
}
