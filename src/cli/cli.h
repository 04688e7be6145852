#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velmar {

// Runs one velmar-cli command. `args` are the words after the program name. Returns the exit
// code: 0 done, 1 the operation failed (its message on `err`), 2 the command line is wrong
// (a usage line on `err`).
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velmar
