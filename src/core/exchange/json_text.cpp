#include "exchange/json_text.h"

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

}  // namespace

Bytes formatJson(const Json& value)
{
    std::string text;
    format(value, 0, text);
    text += '\n';
    return Bytes(text.begin(), text.end());
}

std::optional<Json> parseJson(const Bytes& bytes, std::string& reason)
{
    try {
        return Json::parse(bytes.begin(), bytes.end());
    } catch (const Json::parse_error& e) {
        // "[json.exception.parse_error.101] parse error at line 3, column 5: ..." without the tag.
        std::string what = e.what();
        if (const std::size_t tag = what.find("] "); tag != std::string::npos)
            what.erase(0, tag + 2);
        reason = what;
        return std::nullopt;
    }
}

void JsonFields::fail(const std::string& where, const std::string& what)
{
    if (fault_.empty())
        fault_ = where + ": " + what;
}

std::uint8_t JsonFields::byte(const Json& value, const std::string& where)
{
    if (ok() && (!value.is_number_integer() || value.get<std::int64_t>() < 0 || value.get<std::int64_t>() > 255))
        fail(where, "must be a whole number from 0 to 255, not " + value.dump());
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
