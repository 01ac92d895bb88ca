#include "platform/RuntimeError.h"
#include "support/Digest.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

using namespace vm;

TEST(RuntimeError, CarriesClassicDescriptions)
{
    EXPECT_EQ(test::digestOver(0, 65535, [](int n) { return platform::RuntimeError(n).description(); }),
              "7c91c4dd88ffb75b");
    EXPECT_EQ(platform::RuntimeError(53).source(), QStringLiteral("VoicemailManager"));
}

TEST(RuntimeError, ForeignFailuresBecomeNumberedErrorsAndIgnoredOnesAreReported)
{
    EXPECT_EQ(platform::toRuntimeError(std::make_exception_ptr(std::bad_alloc())).number(), 7);
    EXPECT_EQ(platform::toRuntimeError(std::make_exception_ptr(std::runtime_error("x"))).number(), 51);
    EXPECT_EQ(platform::toRuntimeError(std::make_exception_ptr(platform::RuntimeError(53))).number(), 53);
    int after = 0;
    EXPECT_FALSE(platform::ignoreErrors([] { platform::raiseError(53); }));
    EXPECT_TRUE(platform::ignoreErrors([&] { after = 1; }));
    EXPECT_EQ(after, 1);
}
