#include "files/emulator_command.h"

namespace velmar {

std::vector<std::string> splitCommandLine(const std::string& line, bool backslashEscapes)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quote == '\'') {
            if (c == '\'')
                quote = 0;
            else
                word += c;
            continue;
        }
        if (backslashEscapes && c == '\\' && i + 1 < line.size()
            && (quote == 0 || line[i + 1] == '"' || line[i + 1] == '\\')) {
            word += line[++i];
            inWord = true;
            continue;
        }
        if (quote == '"') {
            if (c == '"')
                quote = 0;
            else
                word += c;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
            inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

bool mentionsRomFile(const std::vector<std::string>& words)
{
    for (const std::string& w : words) {
        if (w.find("%f") != std::string::npos)
            return true;
    }
    return false;
}

std::vector<std::string> substituteRomFile(std::vector<std::string> words, const std::string& path)
{
    for (std::string& w : words) {
        for (std::size_t at = w.find("%f"); at != std::string::npos; at = w.find("%f", at + path.size()))
            w.replace(at, 2, path);
    }
    return words;
}

}  // namespace velmar
