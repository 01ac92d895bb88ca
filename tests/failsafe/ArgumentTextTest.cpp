// Argument texts of traced procedures.
#include "failsafe/ArgumentText.h"

#include <gtest/gtest.h>

namespace vm::failsafe {
namespace {

TEST(ArgumentTextTest, ListsAreParenthesisedAndCommaSeparated)
{
    EXPECT_EQ(argumentList({}), QStringLiteral("()"));
    EXPECT_EQ(argumentList({eventArg(QStringLiteral("Index"), 3LL)}), QStringLiteral("(Index=3)"));
    EXPECT_EQ(argumentList({eventArg(QStringLiteral("Button"), 1LL), eventArg(QStringLiteral("Shift"), 0LL),
                            eventArg(QStringLiteral("x"), 120.0), eventArg(QStringLiteral("Y"), 345.0)}),
              QStringLiteral("(Button=1, Shift=0, x=120, Y=345)"));
    EXPECT_EQ(argumentList({variantArg(QStringLiteral("i%"), std::int16_t(5)),
                            variantArg(QStringLiteral("s$"), QStringLiteral("x"))}),
              QStringLiteral("(i%=5, s$=x)"));
}

TEST(ArgumentTextTest, EventNumbersUseOrdinaryConversion)
{
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
    const struct {
        VariantType type;
        const char* text;
    } cases[] = {
        {VariantType::Empty, "v=<variant>"},
        {VariantType::Null, "v="},
        {VariantType::Integer, "v=7"},
        {VariantType::Long, "v=7"},
        {VariantType::Single, "v=7"},
        {VariantType::Double, "v=7"},
        {VariantType::Currency, "v=7"},
        {VariantType::Date, "v=7"},
        {VariantType::String, "v=7"},
        {VariantType::Object, "v=<variant>"},
        {VariantType::Error, "v=<variant>"},
        {VariantType::Boolean, "v=7"},
        {VariantType::Variant, "v=<variant>"},
        {VariantType::Decimal, "v=<variant>"},
        {VariantType::Byte, "v=7"},
        {VariantType::Array, "v=<variant>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(variantArg(QStringLiteral("v"), c.type, QStringLiteral("7")), QString::fromLatin1(c.text))
            << static_cast<int>(c.type);
}

}  // namespace
}  // namespace vm::failsafe
