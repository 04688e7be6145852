#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "base/bytes.h"

namespace velmar {

// Reads a regular file whole into `out`. Returns why it could not ("No such file or directory",
// "Is a directory", `tooLarge` for a file over `maxSize` bytes, which is then not read), or an
// empty text.
std::string readWholeFile(const std::filesystem::path& path, Bytes& out, std::uintmax_t maxSize,
                          const std::string& tooLarge);

// Reads file `relative` ('/' between folders) of a folder someone else made, as readWholeFile does,
// but follows no link inside the folder: a link on the way is refused with its name ("scenes is a
// link; ..."), also one put there while the file is reached (but on Windows, where names are
// checked and then used). The folder itself may be a link the user chose.
std::string readFileBelow(const std::filesystem::path& root, const std::string& relative, Bytes& out,
                          std::uintmax_t maxSize, const std::string& tooLarge);

}  // namespace velmar
