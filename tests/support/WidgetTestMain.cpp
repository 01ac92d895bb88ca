// Entry point of the widget tests: they need a QApplication (the offscreen
// platform when there is no display).
#include <QApplication>

#include "CleanState.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return vm::test::runAllTests();
}
