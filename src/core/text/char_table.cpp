#include "text/char_table.h"

#include "base/line_reader.h"
#include "base/hex.h"
#include "base/utf8.h"

namespace velmar {

void applyDefaultCharTable(CharTable& table)
{
    // Space to "?" as in ASCII, except that the game swaps the apostrophe and the percent sign.
    for (int c = 0x20; c <= 0x3F; ++c)
        table[static_cast<std::size_t>(c)] = std::string(1, static_cast<char>(c));
    table[0x25] = "'";
    table[0x27] = "%";
    for (int c = 0x41; c <= 0x5B; ++c)  // "A" to "Z", "["
        table[static_cast<std::size_t>(c)] = std::string(1, static_cast<char>(c));
    table[0x5C] = "\\\\";  // shown as a backslash sequence so that it cannot open one
    table[0x5D] = "]";
    table[0x60] = "_";
    for (int c = 0x61; c <= 0x7E; ++c)  // "a" to "z", "{", "|", "}", "~"
        table[static_cast<std::size_t>(c)] = std::string(1, static_cast<char>(c));

    table[0xF8] = "\\0";    // end of text
    table[0xF9] = "\\$F9";  // + parameter byte
    table[0xFA] = "\\r";
    table[0xFB] = "\\c";
    table[0xFC] = "\\p";
    table[0xFD] = "\\t";    // + parameter byte
    table[0xFE] = "\\$FE";  // + parameter byte
    table[0xFF] = "\\n";
}

std::string loadCharTable(const std::filesystem::path& path, CharTable& table)
{
    LineReader reader(path);
    std::string reason = reader.reason();
    std::string line;
    while (reason.empty() && reader.next(line)) {
        // Two characters of code, one separator character (usually "="), then the entry.
        const std::size_t first = utf8::charLength(line, 0);
        const std::size_t codeEnd = first + utf8::charLength(line, first);
        const std::size_t separator = utf8::charLength(line, codeEnd);
        if (separator == 0) {
            reason = "line " + std::to_string(reader.lineNumber()) + " is shorter than three characters";
            break;
        }
        const std::uint32_t code = parseHexPrefix(std::string_view(line).substr(0, codeEnd)) & 0xFF;
        table[code] = line.substr(codeEnd + separator);
    }
    if (!reason.empty())
        applyDefaultCharTable(table);
    return reason;
}

std::string formatCharTable(const CharTable& table)
{
    std::string out;
    for (std::size_t c = 0; c < table.size(); ++c) {
        if (!table[c].empty())
            out += hexPad(static_cast<std::int64_t>(c), 2) + "=" + table[c] + "\n";
    }
    return out;
}

}  // namespace velmar
