// Error classification: the whole table pinned, the precedences inside
// 31999..32767, and the names with their trailing blanks; remote error chains
// read from source texts with missing fields and odd counts (a whole chain is
// checked through fsERROR and the error log).
#include "failsafe/ErrorCategory.h"
#include "failsafe/RemoteChain.h"

#include "support/Digest.h"

#include <gtest/gtest.h>

#include <climits>

namespace vm::failsafe {
namespace {

TEST(ErrorCategory, EveryNumberAndNameIsPinned)
{
    EXPECT_EQ(test::digestOver(-5, 65535, [](int n) { return QString::number(errorCategory(n)); }), "8516bf5df0cc2d63");
    EXPECT_EQ(test::digestOver(-1, 80, [](int code) { return categoryName(code); }), "0d80c71c17f9bb36");
}

TEST(ErrorCategory, PrecedenceAndEdges)
{
    const std::pair<int, int> cases[] = {
        {3, 2},      {46, 2},     {47, 3},     {70, 60},    {260, 6},      {40516, 66},   {40517, 15}, {31999, 14},
        {32001, 45}, {32005, 45}, {32015, 45}, {32016, 14}, {32100, 14},   {32750, 14},   {32751, 47}, {32766, 47},
        {32767, 14}, {32768, 15}, {0, 15},     {-1, 62},    {INT_MIN, 62}, {INT_MAX, 15},
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
        {67, "Unknown Error Class"},
    };
    for (const auto& [code, name] : names)
        EXPECT_EQ(categoryName(code), QString::fromLatin1(name)) << code;
    EXPECT_EQ(categoryText(70), QStringLiteral("Network  error"));
    EXPECT_EQ(categoryText(0), QStringLiteral("User defined  error"));
}

TEST(RemoteChain, MissingFieldsAndOddCounts)
{
    const struct {
        const char* source;
        size_t frames;
        const char* lastModule;
        std::int32_t lastNumber;
        const char* lastDescription;
    } cases[] = {
        {"2!A!m1.bas!Sub P!0!5!first", 2, "<unknown>", 0, "<unknown>"},
        {"1!A!!Sub P", 1, "<unknown>", 0, "<unknown>"},
        {"1!", 1, "<unknown>", 0, "<unknown>"},
        {"3 levels!A!m.bas!Sub P!x!9!d", 3, "<unknown>", 0, "<unknown>"},
        {"0!A!m.bas", 0, "", 0, ""},
        {"-2!A", 0, "", 0, ""},
        {"!A!m.bas", 0, "", 0, ""},
        {"99!A!m.bas!Sub P!1!2!d", 10, "<unknown>", 0, "<unknown>"},
        {"no chain here", 0, "", 0, ""},
    };
    for (const auto& c : cases) {
        const auto frames = parseRemoteChain(QString::fromLatin1(c.source));
        ASSERT_EQ(frames.size(), c.frames) << c.source;
        if (frames.empty())
            continue;
        EXPECT_EQ(frames.back().module, QString::fromLatin1(c.lastModule)) << c.source;
        EXPECT_EQ(frames.back().number, c.lastNumber) << c.source;
        EXPECT_EQ(frames.back().description, QString::fromLatin1(c.lastDescription)) << c.source;
    }
}

}  // namespace
}  // namespace vm::failsafe
