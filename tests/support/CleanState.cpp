#include "CleanState.h"

#include "config/GlobalStuff.h"
#include "config/RegistryIni.h"
#include "failsafe/FailSafeState.h"
#include "mailbox/VmailLib.h"
#include "platform/AppFolder.h"
#include "platform/Replaceable.h"

namespace vm::test {

namespace {
void resetProcessState(const QString& appFolder)
{
    failsafe::resetState();
    VmbArray().unsize();
    config::ResetGlobals();
    config::SetIniFile(QString());
    setAppFolder(appFolder);
}
}  // namespace

CleanState::CleanState() : initialAppFolder_(appFolder()) {}

void CleanState::OnTestStart(const ::testing::TestInfo&)
{
    resetProcessState(initialAppFolder_);
    inForceAtStart_ = replacementsInForce();
}

void CleanState::OnTestEnd(const ::testing::TestInfo&)
{
    // Compared with the start, so that one leaking test fails and not every
    // test after it.
    EXPECT_EQ(replacementsInForce(), inForceAtStart_) << "the test left replacements in force";
    resetProcessState(initialAppFolder_);
}

int runAllTests()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new CleanState);
    return RUN_ALL_TESTS();
}

}  // namespace vm::test
