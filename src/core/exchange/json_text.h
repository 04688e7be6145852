#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "rom/types.h"

// JSON as the folder's files hold it: written so that a change shows as a change of few lines in a
// diff, and read with the place of the first fault in words.
namespace velmar::exchange {

using Json = nlohmann::ordered_json;

// The value as text, two spaces a level: a container that fits on one line of 100 characters
// is written on one, any other one element a line. Ends with a newline.
Bytes formatJson(const Json& value);

// Parses a file's bytes; on a syntax error the reason gives the line and column.
std::optional<Json> parseJson(const Bytes& bytes, std::string& reason);

// Reads values out of a parsed file, remembering the first fault and where it is
// ("enemy[3][1].tile: ..."); after a fault every read gives a harmless default.
class JsonFields {
public:
    bool ok() const { return fault_.empty(); }
    const std::string& fault() const { return fault_; }
    void fail(const std::string& where, const std::string& what);

    // `value` as a whole number 0..255.
    std::uint8_t byte(const Json& value, const std::string& where);
    // `value` as an array, of `size` elements when given; an empty array on a fault.
    const Json& array(const Json& value, const std::string& where, std::optional<std::size_t> size = std::nullopt);
    // Member `name` of object `value`.
    const Json& member(const Json& value, const std::string& where, const std::string& name);

private:
    std::string fault_;
};

}  // namespace velmar::exchange
