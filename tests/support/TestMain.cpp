// Test entry point: a QApplication-free core application unless a test
// binary links the GUI main instead, so Qt's file and locale services work.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
