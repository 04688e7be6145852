#include "base/paths.h"

namespace velmar {

namespace fs = std::filesystem;

fs::path pathFromUtf8(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string pathToUtf8(const fs::path& path)
{
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

std::string fileMessage(const std::string& text, const std::string& path, const std::string& reason)
{
    if (path.empty() && reason.empty())
        return text;
    return text + "\n" + path + (path.empty() || reason.empty() ? "" : ": ") + reason;
}

}  // namespace velmar
