#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "rom/types.h"

// JSON as the program's files hold it: written so that a change shows as a change of few lines in
// a diff, and read from anyone through one entry that no file can crash.
namespace velmar::exchange {

using Json = nlohmann::ordered_json;

// The deepest nesting a file may have: no file of this program's needs more than a handful of
// levels, and the library's printing, copying and comparing recurse once a level.
inline constexpr int kMaxJsonDepth = 64;
// The most members an object may have: no object of this program's files has more than a few
// dozen, and finding a member of an object that keeps its members' order takes a look at each.
inline constexpr std::size_t kMaxJsonMembers = 128;

// Where a value is wrong; thrown by a reader inside readJson only, and turned into its reason
// there.
struct Wrong {
    std::string where;
    std::string why;
};

// The value as text, two spaces a level: a container that fits on one line of 100 characters
// is written on one, any other one element a line. Ends with a newline.
Bytes formatJson(const Json& value);

// Every JSON file from outside comes in here. The text is first checked by a pass that builds
// nothing (syntax, numbers no double holds, nesting beyond kMaxJsonDepth, objects of more than
// kMaxJsonMembers members), then parsed and handed to `read`. Returns why the file is refused, or
// an empty text when `read` finished:
//  - "The file is not JSON: the error is at line 3, column 5." (`kind` names what the file should
//    be, "JSON" when empty), or the number that is too large, the nesting, the members;
//  - "where: why" for a Wrong that `read` throws ("The file: why" when `where` is empty);
//  - "The file is not one this program reads: ..." for any exception of the JSON library that
//    `read` lets out (a value of another type than it asked for).
// Nothing else is caught: what `read` does beside reading (edits) keeps its own results.
std::string readJson(std::string_view text, const std::function<void(const Json&)>& read, std::string_view kind = {});
std::string readJson(const Bytes& file, const std::function<void(const Json&)>& read, std::string_view kind = {});

// A value from a file as a message shows it: a text in quotes and a number as written, each cut
// short past `limit` characters ("..." at the end); a list or an object by its kind and size. Never
// the whole of a large value, and never with a recursion as deep as the value.
std::string quoteValue(const Json& value, std::size_t limit = 40);
// A piece of a file's text as a message shows it, cut the same way (not quoted).
std::string cutText(std::string_view text, std::size_t limit = 40);

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
