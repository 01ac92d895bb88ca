// Error classification: the whole table pinned, numbers beyond it and a name
// with its trailing blank.
#include "failsafe/ErrorCategory.h"

#include "support/Digest.h"

#include <gtest/gtest.h>

#include <climits>

namespace vm::failsafe {
namespace {

// Every number from -5 to 65535 and every name pinned as a whole.
TEST(ErrorCategory, EveryNumberAndNameIsPinned)
{
    EXPECT_EQ(test::digestOver(-5, 65535, [](int n) { return QString::number(errorCategory(n)); }), "8516bf5df0cc2d63");
    EXPECT_EQ(test::digestOver(-1, 80, [](int code) { return categoryName(code); }), "0d80c71c17f9bb36");
    for (const auto& [number, code] : {std::pair{INT_MIN, 62}, {INT_MAX, 15}})  // beyond the pinned range
        EXPECT_EQ(errorCategory(number), code) << number;
    EXPECT_EQ(categoryText(70), QStringLiteral("Network  error"));  // the name keeps its blank
}

}  // namespace
}  // namespace vm::failsafe
