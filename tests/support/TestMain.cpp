// Shared entry of the test programs: a QApplication (offscreen under CTest) so
// that widget tests and event helpers work, then every GoogleTest test.
#include "platform/Application.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    PreparerApplication();
    return RUN_ALL_TESTS();
}
