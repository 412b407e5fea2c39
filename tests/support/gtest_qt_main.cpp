// GoogleTest main for tests that need a QApplication (widget tests).
#include "platform/app_init.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    platform::initInterface();
    return RUN_ALL_TESTS();
}
