// Entry point of the widget tests: they need a QApplication (on the offscreen
// platform unless QT_QPA_PLATFORM names another).
#include <QApplication>

#include "CleanState.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    vm::test::setTestEnvironment(VM_TEST_ENVIRONMENT);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return vm::test::runAllTests();
}
