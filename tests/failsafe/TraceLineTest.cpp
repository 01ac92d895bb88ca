// Trace line texts: counter, time field, frame text, the Arguments cut and
// the memory and user fields; the argument texts of traced procedures.
#include "failsafe/ArgumentText.h"
#include "failsafe/TraceLine.h"
#include "support/Digest.h"

#include <QLocale>
#include <QStringList>

#include <gtest/gtest.h>

namespace vm::failsafe {
namespace {

TEST(TraceLineTest, TimeAndCounterFields)
{
    const struct {
        std::int64_t ms;
        const char* text;
    } cases[] = {
        {0, "00000.0000"},        {31, "00000.0031"},          {1234, "00000.1234"}, {123456, "00012.3456"},
        {99999999, "09999.9999"}, {1234567890, "123456.7890"}, {-12, "-00000.0012"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(traceTimeText(c.ms), QString::fromLatin1(c.text)) << c.ms;

    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(traceTimeText(1234), QStringLiteral("00000.1234"));
    QLocale::setDefault(previous);
    for (const char* counter : {"00001", "99999", "123456", "-00001"})
        EXPECT_EQ(traceCounterText(QByteArray(counter).toInt()), QString::fromLatin1(counter));
}

// Every combination of the include switches, for an entry and an exit line
// and for arguments with and without a colon, pinned as a whole.
TEST(TraceLineTest, IncludeSwitchesShapeTheTail)
{
    QStringList lines;
    for (const char* arguments : {"()", "(strIn$=a:b)"})
        for (int switches = 0; switches < 32; ++switches) {
            TraceLineFields f;
            f.appTag = QStringLiteral("[RiVaVaz] ");
            f.counter = 3;
            f.milliseconds = 40;
            f.exitLine = switches & 16;
            f.frameText = QStringLiteral("\t\tfrmVmailCfg.frm : Function Text2VmbId : ") + QLatin1String(arguments);
            f.includeArguments = switches & 1;
            f.includeResources = switches & 2;
            f.includeMemory = switches & 4;
            f.includeUser = switches & 8;
            f.memoryLoad = 42;
            f.availPhysical = 23134208;
            lines << formatTraceLine(f);
        }
    EXPECT_EQ(test::digest(lines), "ae4209eb1e75cf04") << lines.join(QString()).toStdString();
}

TEST(ArgumentTextTest, ListsAndEventNumbers)
{
    EXPECT_EQ(argumentList({}), QStringLiteral("()"));
    EXPECT_EQ(argumentList({eventArg(QStringLiteral("Index"), 3LL)}), QStringLiteral("(Index=3)"));
    EXPECT_EQ(argumentList({eventArg(QStringLiteral("Button"), 1LL), eventArg(QStringLiteral("Shift"), 0LL),
                            eventArg(QStringLiteral("x"), 120.0), eventArg(QStringLiteral("Y"), 345.0)}),
              QStringLiteral("(Button=1, Shift=0, x=120, Y=345)"));
    EXPECT_EQ(argumentList({variantArg(QStringLiteral("i%"), std::int16_t(5)),
                            variantArg(QStringLiteral("s$"), QStringLiteral("x"))}),
              QStringLiteral("(i%=5, s$=x)"));

    const struct {
        double value;
        const char* text;
    } cases[] = {{120.5, "120.5"}, {-1, "-1"}, {0, "0"}, {1234567, "1234567"}, {0.1, "0.1"}, {1e20, "1E+20"}};
    for (const auto& c : cases)
        EXPECT_EQ(eventArg(QStringLiteral("x"), c.value), QStringLiteral("x=") + QString::fromLatin1(c.text)) << c.text;
    EXPECT_EQ(eventArg(QStringLiteral("Cancel"), -1LL), QStringLiteral("Cancel=-1"));
}

TEST(ArgumentTextTest, VariantTypeDecidesWhetherValueIsShown)
{
    // Shown when the type code's decimal text occurs in "23456781117": Null
    // shows an empty value; Error (10), Variant (12) and Decimal (14) do not.
    using enum VariantType;
    QStringList parts;
    for (const VariantType type :
         {Empty, Null, Integer, Date, String, Object, Error, Boolean, Variant, Decimal, Byte, Array})
        parts << variantArg(QStringLiteral("v"), type, QStringLiteral("7"));
    EXPECT_EQ(parts.join(QLatin1Char(' ')),
              QStringLiteral("v=<variant> v= v=7 v=7 v=7 v=<variant> v=<variant> v=7 v=<variant> v=<variant> v=7 "
                             "v=<variant>"));
}

}  // namespace
}  // namespace vm::failsafe
