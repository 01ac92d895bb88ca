#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

using namespace vm;

TEST(RuntimeError, CarriesClassicDescriptions)
{
    const std::pair<int, const char*> cases[] = {
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {7, "Out of memory"},
        {9, "Subscript out of range"},
        {11, "Division by zero"},
        {13, "Type mismatch"},
        {52, "Bad file name or number"},
        {53, "File not found"},
        {54, "Bad file mode"},
        {55, "File already open"},
        {57, "Device I/O error"},
        {58, "File already exists"},
        {61, "Disk full"},
        {62, "Input past end of file"},
        {67, "Too many files"},
        {68, "Device unavailable"},
        {70, "Permission denied"},
        {71, "Disk not ready"},
        {75, "Path/File access error"},
        {76, "Path not found"},
    };
    for (const auto& [number, text] : cases) {
        EXPECT_EQ(RuntimeError(number).description(), QString::fromLatin1(text)) << number;
        EXPECT_EQ(RuntimeError(number).source(), QStringLiteral("VoicemailManager"));
    }
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
