#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The editor's texts are UTF-8 and "a character" is one code point. Malformed bytes count as
// one character each, so every byte of any input belongs to exactly one character.
namespace velmar::utf8 {

// The length in bytes of the character that starts at `pos` (1..4; 0 at the end).
std::size_t charLength(std::string_view text, std::size_t pos);

std::size_t charCount(std::string_view text);

// The last `count` characters of `text` (all of it when it has fewer).
std::string_view lastChars(std::string_view text, std::size_t count);

}  // namespace velmar::utf8
