#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>

int main(int argc, char** argv)
{
    // The windows are made offscreen; nothing needs a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
