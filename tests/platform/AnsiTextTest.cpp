#include "platform/AnsiText.h"

#include <gtest/gtest.h>

using namespace vm;

TEST(AnsiText, RoundTripWindowsRangeAndLineEnds)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(platform::encodeAnsi(platform::decodeAnsi(all)), all);
    EXPECT_EQ(platform::decodeAnsi(QByteArray("\x80\x99\xE9", 3)), QStringLiteral("\u20AC\u2122\u00E9"));
    EXPECT_EQ(platform::encodeAnsi(QStringLiteral("\u20AC\u00E9")), QByteArray("\x80\xE9", 2));
    EXPECT_EQ(platform::encodeAnsi(QStringLiteral("a\u4E2Db\u0080")), QByteArray("a?b?"));  // not in the code page

    const std::pair<const char*, QStringList> cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\nb\nc", {"a\nb\nc"}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\n\nb", {"a", "\nb"}},
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(platform::splitLines(QString::fromLatin1(text)), lines) << text;
}
