// The argument texts of traced procedures.
#include "failsafe/ArgumentText.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace vm::failsafe {
namespace {

// (Whole argument lists show in the traced procedures' lines.)
TEST(ArgumentTextTest, EventNumbersAsSingles)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {{120.5, "120.5"}, {-1, "-1"}, {0, "0"}, {1234567, "1234567"}, {0.1, "0.1"}, {1e20, "1E+20"}};
    for (const auto& c : cases)
        EXPECT_EQ(eventArg(QStringLiteral("x"), c.value), QStringLiteral("x=") + QString::fromLatin1(c.text)) << c.text;
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
