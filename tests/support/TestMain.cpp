// Entry point of the tests without widgets: a core application, so that Qt's
// file, process and locale services work.
#include <QCoreApplication>

#include "CleanState.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    vm::test::setTestEnvironment(VM_TEST_ENVIRONMENT);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return vm::test::runAllTests();
}
