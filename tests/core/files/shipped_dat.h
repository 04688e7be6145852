#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/test_support.h"

namespace velmar::test {

// The dat folder that ships beside the program, found from this file's place in the source tree.
inline std::filesystem::path shippedDatFile(const std::string& name)
{
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path().parent_path()
        / "dat" / name;
}

// The shipped data files are the built-in defaults in file form. With VELMAR_WRITE_DAT set the
// file is written from `expected` first, so a changed default is one test run away from its file.
inline std::string shippedDatContents(const std::string& name, const std::string& expected)
{
    if (std::getenv("VELMAR_WRITE_DAT") != nullptr)
        writeFile(shippedDatFile(name), expected);
    return readFile(shippedDatFile(name));
}

}  // namespace velmar::test
