#include <gtest/gtest.h>

#include <QApplication>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    // ctest reads the list of tests line by line: no "\r" at their ends.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // The windows are made offscreen, unless the platform is named: nothing needs a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
