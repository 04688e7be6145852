// A stand-in for an emulator, for the tests that start one: writes the words of its command line
// after its own name, one a line in UTF-8, to the file its first word names, and then the size in
// bytes of the file its last word names (-1 when it cannot be read). On Windows the words are
// read from the command line in UTF-16, as programs that take file names do.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace {

std::vector<std::filesystem::path> words(int argc, char** argv)
{
    std::vector<std::filesystem::path> out;
#ifdef _WIN32
    (void)argc;
    (void)argv;
    int count = 0;
    LPWSTR* all = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; all && i < count; ++i)
        out.emplace_back(all[i]);
    LocalFree(all);
#else
    for (int i = 1; i < argc; ++i)
        out.emplace_back(argv[i]);
#endif
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::filesystem::path> given = words(argc, argv);
    if (given.empty())
        return 2;
    std::string text;
    for (const std::filesystem::path& word : given) {
        const std::u8string utf8 = word.u8string();
        text += std::string(utf8.begin(), utf8.end()) + "\n";
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(given.back(), error);
    text += error ? std::string("-1") : std::to_string(size);
    // Written aside and renamed, so that a test that waits for the file reads it whole.
    const std::filesystem::path out = given.front();
    std::filesystem::path part = out;
    part += ".part";
    {
        std::ofstream file(part, std::ios::binary);
        file << text;
        if (!file)
            return 1;
    }
    std::filesystem::rename(part, out, error);
    return error ? 1 : 0;
}
