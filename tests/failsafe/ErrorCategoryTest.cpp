// Error classification: every range boundary of the category table, the
// precedences inside 31999..32767, and the names with their trailing blanks.
#include "failsafe/ErrorCategory.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <vector>

namespace vm::failsafe {
namespace {

// The category table written as lists of numbers and ranges.
const std::map<int, const char*> kTable = {
    {2, "3-46,50-51,454-455"},
    {3, "47-49,52-69,71-76,452-453,708,712-713,716,719,722,725,730-731"},
    {4, "91-95"},
    {5, "280-298"},
    {6, "260,320-394"},
    {7, "400-404,426"},
    {8, "420-425"},
    {9, "460-461,520-521"},
    {10, "480-481,485"},
    {11, "482-484"},
    {12, "709-711,714-715,717-718,720-721,723-724,726-729,732-785"},
    {13, "429-430,432,438,440,442-443,445-451,458"},
    {14, "31999-32000,32016-32750,32767"},
    {45, "30000-30019,32001-32015"},
    {46, "457,600-646"},
    {47, "20476-20478,24574,28660-28671,32751-32766"},
    {54,
     "2420-2448,3000-3005,3007,3010-3044,3047-3049,3053-3185,3190-3195,3198-3210,3213-3217,3219-3224,"
     "3226-3259,3262-3451,3454,3462,3608-3622"},
    {57, "31003-31004,31006-31009,31017-31019,31021-31024,31026-31029,31031-31039"},
    {59, "3006,3008-3009,3045-3046,3050-3052,3186-3189,3196-3197,3211-3212,3218,3225,3260-3261"},
    {60, "70"},
    {63,
     "3452-3453,3455-3461,3463,3465,3472,3485-3492,3499,3510,3515,3520,3532-3533,3545-3546,3548-3550,"
     "3552-3553,3559-3561,3566,3569,3572,3574-3577,3584,3592-3595,3605,3607,3626"},
    {64, "35600-35618"},
    {65, "40000-40059"},
    {66, "40500-40516"},
};

struct Range {
    int first;
    int last;
    int code;
};

const std::vector<Range>& tableRanges()
{
    static std::vector<Range> ranges;
    if (!ranges.empty())
        return ranges;
    for (const auto& [code, text] : kTable) {
        for (const QString& item : QString::fromLatin1(text).split(QLatin1Char(','))) {
            const QStringList ends = item.split(QLatin1Char('-'));
            ranges.push_back({ends.first().toInt(), ends.last().toInt(), code});
        }
    }
    return ranges;
}

// What the table says about a number, looked up independently.
int expectedCode(int number)
{
    if (number < 0)
        return 62;
    for (const Range& r : tableRanges()) {
        if (number >= r.first && number <= r.last)
            return r.code;
    }
    return 15;
}

// Covers every boundary of every row, and the gaps between rows.
TEST(ErrorCategory, EveryNumberUpToTheLastRow)
{
    for (int n = -5; n <= 40600; ++n)
        ASSERT_EQ(errorCategory(n), expectedCode(n)) << n;
}

TEST(ErrorCategory, PrecedenceAndEdges)
{
    const std::pair<int, int> cases[] = {
        {31999, 14}, {32001, 45}, {32005, 45}, {32015, 45}, {32016, 14}, {32100, 14},   {32750, 14},   {32751, 47},
        {32766, 47}, {32767, 14}, {32768, 15}, {0, 15},     {-1, 62},    {INT_MIN, 62}, {INT_MAX, 15},
    };
    for (const auto& [number, code] : cases)
        EXPECT_EQ(errorCategory(number), code) << number;
}

TEST(ErrorCategory, NamesKeepTheirBlanks)
{
    // Names with their odd spellings and blanks, and codes between the used ones.
    const std::pair<int, const char*> names[] = {
        {3, "File System (disk, directory or file) access"},
        {4, "Non-initialzed object or variant"},
        {15, "User defined "},
        {60, "Network "},
        {66, "Remote Data Control (RDC)"},
        {0, "Unknown Error Class"},
        {55, "Unknown Error Class"},
        {61, "Unknown Error Class"},
        {67, "Unknown Error Class"},
    };
    for (const auto& [code, name] : names)
        EXPECT_EQ(categoryName(code), QString::fromLatin1(name)) << code;
    EXPECT_EQ(categoryText(70), QStringLiteral("Network  error"));
    EXPECT_EQ(categoryText(0), QStringLiteral("User defined  error"));
}

}  // namespace
}  // namespace vm::failsafe
