#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "base/bytes.h"

namespace velmar {

// Reads the editor's small text files (VELMAR.INI, TBL.DAT, ITEM.DAT, ENEMY.DAT) line by line.
// The file is read whole when the reader is made, by the rules of every reader here (a regular
// file only, so a FIFO or a device never blocks). Files edited on Windows end their lines in
// "\r\n" (converted twice, "\r\r\n") and may begin with a UTF-8 byte order mark (or more); both
// are taken off, so a line is exactly what the user typed.
class LineReader {
public:
    explicit LineReader(const std::filesystem::path& path);

    // False when the file could not be read (missing, a folder, no permission, too large).
    bool isOpen() const { return reason_.empty(); }
    // Why the file could not be read, or empty.
    const std::string& reason() const { return reason_; }
    // The next line; false at the end of the file.
    bool next(std::string& line);
    // The number of the line `next` gave last, from 1.
    int lineNumber() const { return lineNumber_; }

private:
    Bytes text_;
    std::size_t at_ = 0;
    int lineNumber_ = 0;
    std::string reason_;
};

}  // namespace velmar
