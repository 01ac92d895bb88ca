// The classic rules every layer shares: run-time errors and their
// descriptions, halves rounded to even and 16-bit overflow, windows-1252
// text with its line ends.
#include "platform/AnsiText.h"
#include "platform/ErrorNumberOf.h"
#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"
#include "support/Digest.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <new>
#include <stdexcept>

using namespace vm;
using test::errorNumberOf;

TEST(RuntimeError, CarriesClassicDescriptions)
{
    EXPECT_EQ(test::digestOver(0, 65535, [](int n) { return RuntimeError(n).description(); }), "7c91c4dd88ffb75b");
    EXPECT_EQ(RuntimeError(53).source(), QStringLiteral("VoicemailManager"));
}

TEST(RuntimeError, ForeignFailuresBecomeNumberedErrorsAndIgnoredOnesAreReported)
{
    EXPECT_EQ(toRuntimeError(std::make_exception_ptr(std::bad_alloc())).number(), 7);
    EXPECT_EQ(toRuntimeError(std::make_exception_ptr(std::runtime_error("x"))).number(), 51);
    EXPECT_EQ(toRuntimeError(std::make_exception_ptr(RuntimeError(53))).number(), 53);
    int after = 0;
    EXPECT_FALSE(ignoreErrors([] { raiseError(53); }));
    EXPECT_TRUE(ignoreErrors([&] { after = 1; }));
    EXPECT_EQ(after, 1);
}

TEST(VbNumbers, HalvesToEvenAndSixteenBitOverflow)
{
    const std::pair<double, double> cases[] = {
        {0.5, 0},   {1.5, 2},    {2.5, 2},    {3.5, 4}, {-0.5, 0},  {-1.5, -2},
        {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {1.0, 1}, {-1.2, -1}, {1e15 + 0.5, 1e15},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(roundHalfEven(in), out) << in;

    EXPECT_EQ(toInt16(32767), 32767);
    EXPECT_EQ(toInt16(-32768), -32768);
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_EQ(roundToInt16(-32768.5), -32768);  // half to even stays in range
    for (const auto& overflow : std::initializer_list<std::function<void()>>{
             [] { toInt16(32768); }, [] { toInt16(-32769); }, [] { roundToInt16(32767.5); },
             [] { roundToInt16(std::numeric_limits<double>::quiet_NaN()); }, [] { toInt32(2147483648LL); }})
        EXPECT_EQ(errorNumberOf(overflow), 6);

    // Int16 arithmetic checks every step and keeps its value when one fails.
    Int16 n = 32766;
    ++n;
    EXPECT_EQ(errorNumberOf([&] { ++n; }), 6);
    EXPECT_EQ(static_cast<int>(n), 32767);
    Int16 m = -32768;
    EXPECT_EQ(errorNumberOf([&] { --m; }), 6);
}

TEST(AnsiText, RoundTripWindowsRangeAndLineEnds)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(ansi::encode(ansi::decode(all)), all);
    EXPECT_EQ(ansi::decode(QByteArray("\x80\x99\xE9", 3)), QStringLiteral("\u20AC\u2122\u00E9"));
    EXPECT_EQ(ansi::encode(QStringLiteral("\u20AC\u00E9")), QByteArray("\x80\xE9", 2));
    EXPECT_EQ(ansi::encode(QStringLiteral("a\u4E2Db")), QByteArray("a?b"));  // not in the code page

    const std::pair<const char*, QStringList> cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\nb\nc", {"a\nb\nc"}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\n\nb", {"a", "\nb"}},
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(ansi::splitLines(QString::fromLatin1(text)), lines) << text;
}
