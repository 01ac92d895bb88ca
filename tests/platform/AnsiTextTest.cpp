#include "platform/AnsiText.h"
#include "platform/NativeName.h"
#include "platform/ShownText.h"

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

// A file name's bytes come back from its text whatever they are: UTF-8 as its
// characters, any other byte as a lone surrogate of its own, shown as \xHH.
TEST(NativeName, EveryNameComesBackAsItsBytesAndShowsEscaped)
{
    const std::pair<QByteArray, const char16_t*> cases[] = {
        {"caf\xc3\xa9", u"caf\u00e9"},
        {"caf\xe9", u"caf\xdce9"},
        {"\xf0\x9f\x8e\xb5|\xf4\x90\x80\x80", u"\U0001f3b5|\xdcf4\xdc90\xdc80\xdc80"},  // beyond U+10FFFF
        {"\xc0\xaf\xed\xb3\xa9", u"\xdcc0\xdcaf\xdced\xdcb3\xdca9"},  // overlong, an encoded surrogate
        {"\xe2\x82", u"\xdce2\xdc82"},                                // cut short
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(platform::nameText(bytes), QString::fromUtf16(text)) << bytes.toHex().constData();
        EXPECT_EQ(platform::nativeName(QString::fromUtf16(text)), bytes) << bytes.toHex().constData();
    }
    EXPECT_EQ(platform::withControlsEscaped(platform::nameText("\x1b\xe9\xf0\x9f\x8e\xb5\x85")),
              QString::fromUtf16(u"\\x1b\\xe9\U0001f3b5\\x85"));
}
