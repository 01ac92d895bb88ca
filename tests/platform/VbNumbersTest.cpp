#include "platform/VbNumbers.h"
#include "support/ErrorNumberOf.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace vm;
using test::errorNumberOf;

TEST(VbNumbers, HalvesToEvenAndSixteenBitOverflow)
{
    const std::pair<double, double> cases[] = {
        {0.5, 0},   {1.5, 2},    {2.5, 2},    {3.5, 4}, {-0.5, 0},  {-1.5, -2},
        {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {1.0, 1}, {-1.2, -1}, {1e15 + 0.5, 1e15},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(platform::roundHalfEven(in), out) << in;

    EXPECT_EQ(platform::toInt16(32767), 32767);
    EXPECT_EQ(platform::toInt16(-32768), -32768);
    EXPECT_EQ(platform::roundToInt16(32767.4), 32767);
    EXPECT_EQ(platform::roundToInt16(-32768.5), -32768);  // half to even stays in range
    EXPECT_EQ(platform::roundToInt32(-2147483648.5), -2147483648);
    for (const auto& overflow : std::initializer_list<std::function<void()>>{
             [] { platform::toInt16(32768); }, [] { platform::toInt16(-32769); },
             [] { platform::roundToInt16(32767.5); },
             [] { platform::roundToInt16(std::numeric_limits<double>::quiet_NaN()); },
             [] { platform::toInt32(2147483648LL); }, [] { platform::roundToInt32(-2147483649.0); },
             [] { platform::roundToInt32(2147483647.5); }})
        EXPECT_EQ(errorNumberOf(overflow), 6);

    // Int16 arithmetic checks every step and keeps its value when one fails.
    platform::Int16 n = 32766;
    ++n;
    EXPECT_EQ(errorNumberOf([&] { ++n; }), 6);
    EXPECT_EQ(static_cast<int>(n), 32767);
    platform::Int16 m = -32768;
    EXPECT_EQ(errorNumberOf([&] { --m; }), 6);
}
