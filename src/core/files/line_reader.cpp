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
    // A file saved again by an editor that took the mark for text may begin with two of them.
    while (first_ && line.starts_with("\xEF\xBB\xBF"))
        line.erase(0, 3);
    first_ = false;
    // Every carriage return before the line feed: a file converted to Windows line ends twice
    // ends its lines in "\r\r\n", and a value read with one of them left on would not be what
    // the user typed, nor could it be written back.
    while (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

bool LineReader::failed() const
{
    return !open_ || in_.bad();
}

}  // namespace velmar
