#pragma once

#include <string>
#include <vector>

namespace velmar {

// Splits a command line as a shell does: words separated by blanks, 'single' and "double"
// quotes group (a backslash escapes inside double quotes and outside quotes). On Windows a
// backslash is an ordinary character, as paths need. Empty when the line has no word.
std::vector<std::string> splitCommandLine(const std::string& line, bool backslashEscapes);

// True when some word holds the placeholder %f for the ROM to test.
bool mentionsRomFile(const std::vector<std::string>& words);

// Replaces every %f in the words by `path`.
std::vector<std::string> substituteRomFile(std::vector<std::string> words, const std::string& path);

}  // namespace velmar
