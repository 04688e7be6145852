#include "exchange/json_text.h"

#include <algorithm>
#include <new>

#include "base/utf8.h"

namespace velmar::exchange {

namespace {

constexpr std::size_t kLineWidth = 100;

const Json& emptyArray()
{
    static const Json empty = Json::array();
    return empty;
}

// The value on one line, with a space after each comma and colon, as a person would write it.
std::string inlineForm(const Json& value)
{
    if (!value.is_structured())
        return value.dump(-1, ' ', false, Json::error_handler_t::replace);
    std::string out = value.is_object() ? "{" : "[";
    bool first = true;
    for (auto it = value.begin(); it != value.end(); ++it) {
        if (!first)
            out += ", ";
        first = false;
        if (value.is_object())
            out += Json(it.key()).dump(-1, ' ', false, Json::error_handler_t::replace) + ": ";
        out += inlineForm(*it);
    }
    return out + (value.is_object() ? "}" : "]");
}

void format(const Json& value, int indent, std::string& out)
{
    const std::string line = inlineForm(value);
    if (!value.is_structured() || line.size() + static_cast<std::size_t>(indent) <= kLineWidth) {
        out += line;
        return;
    }
    const std::string inner(static_cast<std::size_t>(indent + 2), ' ');
    out += value.is_object() ? "{\n" : "[\n";
    bool first = true;
    for (auto it = value.begin(); it != value.end(); ++it) {
        if (!first)
            out += ",\n";
        first = false;
        out += inner;
        if (value.is_object())
            out += Json(it.key()).dump(-1, ' ', false, Json::error_handler_t::replace) + ": ";
        format(*it, indent + 2, out);
    }
    out += "\n" + std::string(static_cast<std::size_t>(indent), ' ') + (value.is_object() ? "}" : "]");
}

// The first pass over a file: nothing is built, so nothing is held or recursed through; it stops at
// the first fault, and at a level deeper than any file of ours.
class ShapeCheck final : public nlohmann::json_sax<Json> {
public:
    bool tooDeep = false;
    bool tooManyMembers = false;
    std::size_t errorAt = 0;
    int errorId = 0;
    std::string token;

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool key(string_t&) override
    {
        tooManyMembers = ++members_.back() > kMaxJsonMembers;
        return !tooManyMembers;
    }
    bool start_object(std::size_t) override
    {
        members_.push_back(0);
        return enter();
    }
    bool end_object() override
    {
        members_.pop_back();
        return leave();
    }
    bool start_array(std::size_t) override { return enter(); }
    bool end_array() override { return leave(); }

    bool parse_error(std::size_t position, const std::string& lastToken, const Json::exception& e) override
    {
        errorAt = position;
        errorId = e.id;
        token = lastToken;
        return false;
    }

private:
    int depth_ = 0;
    std::vector<std::size_t> members_;  // of each object open, the innermost last

    bool enter()
    {
        tooDeep = ++depth_ > kMaxJsonDepth;
        return !tooDeep;
    }
    bool leave()
    {
        --depth_;
        return true;
    }
};

// The library's code for a number too large for a double ("1e400").
constexpr int kNumberOverflow = 406;

// Line and column (from 1) of byte `offset` of the text.
std::string textPlace(std::string_view text, std::size_t offset)
{
    offset = std::min(offset, text.size());
    const std::string_view before = text.substr(0, offset);
    const std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    const std::size_t lineStart = before.find_last_of('\n');
    const std::size_t column = offset - (lineStart == std::string_view::npos ? 0 : lineStart + 1);
    return "line " + std::to_string(line) + ", column " + std::to_string(std::max<std::size_t>(column, 1));
}

// The library's message without its tag ("[json.exception.type_error.302] "), cut short.
std::string libraryReason(const Json::exception& e)
{
    std::string what = e.what();
    if (const std::size_t tag = what.find("] "); tag != std::string::npos)
        what.erase(0, tag + 2);
    return cutText(what, 200);
}

}  // namespace

Bytes formatJson(const Json& value)
{
    std::string text;
    format(value, 0, text);
    text += '\n';
    return Bytes(text.begin(), text.end());
}

std::string readJson(std::string_view text, const std::function<void(const Json&)>& read, std::string_view kind)
{
    const std::string notJson = "The file is not " + std::string(kind.empty() ? "JSON" : kind);
    const std::string unread = "The file is not JSON this program reads: ";
    Json value;
    try {
        ShapeCheck check;
        if (!Json::sax_parse(text.begin(), text.end(), &check)) {
            if (check.tooDeep)
                return unread + "it is nested more than " + std::to_string(kMaxJsonDepth) + " levels deep.";
            if (check.tooManyMembers)
                return unread + "an object in it has more than " + std::to_string(kMaxJsonMembers) + " members.";
            if (check.errorId == kNumberOverflow) {
                // The place the number begins: the error comes at its end.
                const std::size_t begins = check.errorAt - std::min(check.errorAt, check.token.size()) + 1;
                return unread + "the number " + cutText(check.token, 24) + " at " + textPlace(text, begins)
                    + " is too large.";
            }
            return notJson + ": the error is at " + textPlace(text, check.errorAt) + ".";
        }
        value = Json::parse(text.begin(), text.end());
    } catch (const Json::exception& e) {
        return unread + libraryReason(e);
    } catch (const std::bad_alloc&) {
        return unread + "it does not fit in memory.";
    }
    try {
        read(value);
    } catch (const Wrong& w) {
        return (w.where.empty() ? "The file" : w.where) + ": " + w.why;
    } catch (const Json::exception& e) {
        return "The file is not one this program reads: " + libraryReason(e);
    }
    return {};
}

std::string readJson(const Bytes& file, const std::function<void(const Json&)>& read, std::string_view kind)
{
    return readJson(std::string_view(reinterpret_cast<const char*>(file.data()), file.size()), read, kind);
}

std::string cutText(std::string_view text, std::size_t limit)
{
    std::size_t end = 0;
    for (std::size_t count = 0; end < text.size() && count < limit; ++count)
        end += utf8::charLength(text, end);
    return end < text.size() ? std::string(text.substr(0, end)) + "..." : std::string(text);
}

std::string quoteValue(const Json& value, std::size_t limit)
{
    if (value.is_array())
        return "a list of " + std::to_string(value.size()) + (value.size() == 1 ? " entry" : " entries");
    if (value.is_object())
        return "an object of " + std::to_string(value.size()) + (value.size() == 1 ? " member" : " members");
    if (value.is_string()) {
        // Cut before it is quoted: a long text is never escaped whole.
        const std::string& text = value.get_ref<const std::string&>();
        const std::string cut = cutText(text, limit);
        const bool wasCut = cut.size() != text.size();
        const std::string quoted =
            Json(wasCut ? cut.substr(0, cut.size() - 3) : cut).dump(-1, ' ', false, Json::error_handler_t::replace);
        return wasCut ? quoted.substr(0, quoted.size() - 1) + "...\"" : quoted;
    }
    return cutText(value.dump(), limit);
}

void JsonFields::fail(const std::string& where, const std::string& what)
{
    if (fault_.empty())
        fault_ = where + ": " + what;
}

std::uint8_t JsonFields::byte(const Json& value, const std::string& where)
{
    if (ok() && (!value.is_number_integer() || value.get<std::int64_t>() < 0 || value.get<std::int64_t>() > 255))
        fail(where, "must be a whole number from 0 to 255, not " + quoteValue(value));
    return ok() ? static_cast<std::uint8_t>(value.get<std::int64_t>()) : 0;
}

const Json& JsonFields::array(const Json& value, const std::string& where, std::optional<std::size_t> size)
{
    if (ok() && !value.is_array())
        fail(where, "must be a list");
    else if (ok() && size && value.size() != *size)
        fail(where, "must hold " + std::to_string(*size) + " entries, not " + std::to_string(value.size()));
    return ok() ? value : emptyArray();
}

const Json& JsonFields::member(const Json& value, const std::string& where, const std::string& name)
{
    static const Json missing;
    if (ok() && !value.is_object())
        fail(where.empty() ? "the file" : where, "must be an object");
    else if (ok() && !value.contains(name))
        fail(where.empty() ? name : where + "." + name, "is missing");
    return ok() ? value.at(name) : missing;
}

}  // namespace velmar::exchange
