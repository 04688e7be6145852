#include "base/line_reader.h"

#include "base/file_reader.h"

namespace velmar {

namespace {

// Far more than any of these files holds; a larger one is not one of them.
constexpr std::uintmax_t kMaxTextFileBytes = 4u << 20;

}  // namespace

LineReader::LineReader(const std::filesystem::path& path)
{
    reason_ =
        readWholeFile(path, text_, kMaxTextFileBytes, "The file is larger than 4 MB; no settings or table file is");
}

bool LineReader::next(std::string& line)
{
    if (!isOpen() || at_ >= text_.size())
        return false;
    std::size_t end = at_;
    while (end < text_.size() && text_[end] != '\n')
        ++end;
    line.assign(text_.begin() + static_cast<std::ptrdiff_t>(at_), text_.begin() + static_cast<std::ptrdiff_t>(end));
    at_ = end + 1;
    // A file saved again by an editor that took the mark for text may begin with two of them.
    while (lineNumber_ == 0 && line.starts_with("\xEF\xBB\xBF"))
        line.erase(0, 3);
    ++lineNumber_;
    // Every carriage return before the line feed: a file converted to Windows line ends twice
    // ends its lines in "\r\r\n", and a value read with one of them left on would not be what
    // the user typed, nor could it be written back.
    while (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

}  // namespace velmar
