#pragma once
// Every test starts from the state a fresh process has: the error module, the
// mailbox table, the configuration variables, the INI path and the
// application folder are reset before each test, and a test that leaves a
// replacement in force, or an environment variable or the default locale
// changed (see EnvironmentScope.h), fails. Both test mains install it. The
// run has a desktop trash of its own ($XDG_DATA_HOME), removed at its end.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <cstdint>

namespace vm::test {

class CleanState final : public ::testing::EmptyTestEventListener {
public:
    CleanState();
    void OnTestStart(const ::testing::TestInfo& test) override;
    void OnTestEnd(const ::testing::TestInfo& test) override;

private:
    QString initialAppFolder_;
    std::int64_t inForceAtStart_ = 0;
    QStringList environmentAtStart_;
};

// Runs every test of the executable under CleanState.
int runAllTests();

}  // namespace vm::test
