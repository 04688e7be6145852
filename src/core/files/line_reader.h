#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace velmar {

// Reads the editor's small text files (VELMAR.INI, TBL.DAT, ITEM.DAT, ENEMY.DAT) line by line.
// Files edited on Windows end their lines in "\r\n" (converted twice, "\r\r\n") and may begin
// with a UTF-8 byte order mark (or more); both are taken off, so a line is exactly what the user typed.
class LineReader {
public:
    explicit LineReader(const std::filesystem::path& path);

    // False when the file could not be opened (missing, a folder, no permission).
    bool isOpen() const { return open_; }
    // The next line; false at the end of the file or on a read error.
    bool next(std::string& line);
    // True after a read error (as opposed to the plain end of the file).
    bool failed() const;

private:
    std::ifstream in_;
    bool open_ = false;
    bool first_ = true;
};

}  // namespace velmar
