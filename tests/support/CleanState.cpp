#include "CleanState.h"

#include "failsafe/FailSafeState.h"
#include "platform/AppFolder.h"
#include "platform/Replaceable.h"

#include <QFile>
#include <QLocale>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace vm::test {

namespace {
// The environment variables and the default locale, which a test changes only
// through an EnvironmentScope.
QStringList environment()
{
    QStringList settings = QProcessEnvironment::systemEnvironment().toStringList();
    settings.sort();
    return settings << QStringLiteral("locale ") + QLocale().name();
}

void resetProcessState(const QString& appFolder)
{
    failsafe::resetState();
    platform::setAppFolder(appFolder);
}
}  // namespace

CleanState::CleanState() : initialAppFolder_(platform::appFolder()) {}

void CleanState::OnTestStart(const ::testing::TestInfo&)
{
    resetProcessState(initialAppFolder_);
    inForceAtStart_ = platform::replacementsInForce();
    environmentAtStart_ = environment();
}

void CleanState::OnTestEnd(const ::testing::TestInfo&)
{
    // Compared with the start, so that one leaking test fails and not every
    // test after it.
    EXPECT_EQ(platform::replacementsInForce(), inForceAtStart_) << "the test left replacements in force";
    EXPECT_EQ(environment(), environmentAtStart_) << "the test left the environment changed";
    resetProcessState(initialAppFolder_);
}

int runAllTests()
{
    // What a test deletes to the desktop's trash goes to a trash of the run's own.
    const QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    ::testing::UnitTest::GetInstance()->listeners().Append(new CleanState);
    return RUN_ALL_TESTS();
}

}  // namespace vm::test
