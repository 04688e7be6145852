#include "base/utf8.h"

#include <vector>

namespace velmar::utf8 {

namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::size_t charLength(std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return 0;
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length > text.size() - pos)
        return 1;
    for (std::size_t k = 1; k < length; ++k) {
        if (!isContinuation(static_cast<unsigned char>(text[pos + k])))
            return 1;
    }
    return length;
}

std::size_t charCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += charLength(text, pos))
        ++count;
    return count;
}

std::string_view lastChars(std::string_view text, std::size_t count)
{
    // Character starts are only known scanning forwards (a malformed byte may look like a
    // continuation byte), so collect them and step back from the end.
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < text.size(); pos += charLength(text, pos))
        starts.push_back(pos);
    if (starts.size() <= count)
        return text;
    return text.substr(starts[starts.size() - count]);
}

}  // namespace velmar::utf8
