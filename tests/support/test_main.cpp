#include <gtest/gtest.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

// The main() of the test programs that need no Qt application.
int main(int argc, char** argv)
{
#ifdef _WIN32
    // ctest reads the list of tests line by line; in text mode the C runtime would end every line
    // in "\r\n", and the "\r" would end up in the suite names.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
