#include "files/name_list.h"

#include <algorithm>

#include "base/line_reader.h"
#include "base/hex.h"

namespace velmar {

std::optional<std::vector<std::string>> loadNameList(const std::filesystem::path& path)
{
    LineReader reader(path);
    std::string line;
    if (!reader.next(line))
        return std::nullopt;
    // Line 1 holds the highest entry number, so there is one name more than it says. The list
    // grows only with lines actually read: a wild count in a short file costs nothing.
    const std::uint64_t count = std::uint64_t{parseHexPrefix(line)} + 1;
    std::vector<std::string> names;
    while (names.size() < count) {
        if (!reader.next(line))
            return std::nullopt;
        names.push_back(std::move(line));
    }
    return names;
}

std::string formatNameList(const std::vector<std::string>& names)
{
    // A list without entries has no file form: line 1 cannot say "-1".
    if (names.empty())
        return {};
    const auto highest = static_cast<std::int64_t>(names.size() - 1);
    std::string out = hexPad(highest, std::max<int>(2, static_cast<int>(hexText(highest).size()))) + "\n";
    for (const std::string& name : names)
        out += name + "\n";
    return out;
}

const std::vector<std::string>& defaultItemNames()
{
    static const std::vector<std::string> names = {
        "Spiritual Strength (Blue: 5)",
        "Spiritual Strength (Red: 10)",
        "1UP",
        "Bonus (Red)",
        "Clock",
        "Bonus (Blue)",
        "Bonus (Red)",
        "Fire Shield",
        "Throwing Star",
        "Windmill Throwing Star",
        "Fire Wheel",
        "Slash Attack",
    };
    return names;
}

const std::vector<std::string>& defaultEnemyNames()
{
    static const std::vector<std::string> names(41, "???");
    return names;
}

}  // namespace velmar
