#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/hex.h"
#include "editor/scene_properties.h"
#include "exchange/json_text.h"

// What the readers of scene files and Tiled maps share: a wrong value stops the reading (through
// readJson) with the place it is at. Only the exchange readers include this; nothing of it leaves
// them.
namespace velmar::exchange {

inline std::string rangeText(int max) { return (max > 0x0F ? "00" : "0") + std::string(" to ") + hexText(max); }

// Hexadecimal digits without a sign or prefix, from 0 to `max`.
inline std::uint8_t readHexDigits(const std::string& text, const std::string& where, int max)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return hexDigitValue(c) >= 0; }))
        throw Wrong{where, quoteValue(text) + " is not a hexadecimal number"};
    std::uint32_t value = 0;
    for (const char c : text)
        value = std::min<std::uint32_t>(value * 16 + static_cast<std::uint32_t>(hexDigitValue(c)), 0x10000000);
    if (value > static_cast<std::uint32_t>(max))
        throw Wrong{where, cutText(text) + " is not " + rangeText(max)};
    return static_cast<std::uint8_t>(value);
}

// A byte written as hexadecimal digits in quotes, from 0 to `max`.
inline std::uint8_t hexValue(const Json& j, const std::string& where, int max)
{
    if (!j.is_string())
        throw Wrong{where, "write hexadecimal digits in quotes, such as \"" + hexPad(max, max > 0x0F ? 2 : 1) + "\""};
    return readHexDigits(j.get_ref<const std::string&>(), where, max);
}

// A property of the scene's table as a file holds it: one of its two words, or hexadecimal
// digits in quotes.
inline std::uint8_t propertyValueOf(const ScenePropertyRow& row, const Json& j, const std::string& where)
{
    if (!row.words[0])
        return hexValue(j, where, row.max);
    for (std::size_t k = 0; k < row.words.size(); ++k) {
        if (j == row.words[k])
            return k == 0 ? 0 : row.max;
    }
    throw Wrong{where, quoteValue(j) + " is not \"" + row.words[0] + "\" or \"" + row.words[1] + "\""};
}

// The number of places of the list a property is a place of (the four palette selectors).
inline std::size_t propertyListSize(const ScenePropertyRow& row)
{
    const auto& rows = scenePropertyRows();
    return static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), [&](const ScenePropertyRow& r) {
        return std::string_view(r.fileKey) == row.fileKey;
    }));
}

}  // namespace velmar::exchange
