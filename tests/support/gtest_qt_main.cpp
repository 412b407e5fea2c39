// GoogleTest main for tests that need a QApplication (widget tests).
#include "app/layout_fonts.h"
#include "platform/files/app_init.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // ctest lists the tests without a display.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    platform::initInterface();
    substituteLayoutFonts();
    return RUN_ALL_TESTS();
}
