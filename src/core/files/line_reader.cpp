#include "files/line_reader.h"

#include <system_error>

namespace velmar {

LineReader::LineReader(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return;
    in_.open(path, std::ios::binary);
    open_ = in_.is_open();
}

bool LineReader::next(std::string& line)
{
    if (!open_ || !std::getline(in_, line))
        return false;
    if (first_ && line.starts_with("\xEF\xBB\xBF"))
        line.erase(0, 3);
    first_ = false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

bool LineReader::failed() const
{
    return !open_ || in_.bad();
}

}  // namespace velmar
