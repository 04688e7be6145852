#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <atomic>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>
#include <shellapi.h>
#endif

#include "cli.h"

namespace {

// The words after the program name, in UTF-8, as every path and text inside the program is.
std::vector<std::string> arguments(int argc, char** argv)
{
    std::vector<std::string> args;
#ifdef _WIN32
    // main() gets its arguments in the ANSI code page, where "関卡.nes" is "??.nes": the command
    // line is taken again in UTF-16 and converted.
    (void)argc;
    (void)argv;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; words && i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, words[i], -1, nullptr, 0, nullptr, nullptr);
        std::string word(size > 0 ? static_cast<std::size_t>(size) : 1u, '\0');
        WideCharToMultiByte(CP_UTF8, 0, words[i], -1, word.data(), size, nullptr, nullptr);
        word.resize(word.size() - 1);  // the terminating zero
        args.push_back(std::move(word));
    }
    LocalFree(words);
#else
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
#endif
    return args;
}

#ifdef _WIN32
std::atomic<bool> commandRunning{false};

// The console closes, the user logs off, the system shuts down, or Ctrl+C: Windows ends the
// process once this returns (it runs on a thread of its own). The command is let finish first,
// for the few seconds a closing console is granted: each file it writes goes to a temporary copy
// that then takes the file's place, and a process ended in between would leave that copy beside
// the user's file.
BOOL WINAPI onConsoleEnd(DWORD)
{
    for (int waited = 0; waited < 4000 && commandRunning; waited += 10)
        Sleep(10);
    return FALSE;  // the system's own handler ends the process
}
#endif

}  // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The same bytes as on every other system: UTF-8, lines ending in "\n" (in text mode the C
    // runtime would write "\r\n"), and a console that shows UTF-8 as such.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
    commandRunning = true;
    SetConsoleCtrlHandler(onConsoleEnd, TRUE);
    const int result = velmar::runCli(arguments(argc, argv), std::cout, std::cerr);
    std::cout.flush();
    commandRunning = false;
    return result;
#else
    return velmar::runCli(arguments(argc, argv), std::cout, std::cerr);
#endif
}
