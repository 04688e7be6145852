#pragma once

#include <string>

namespace velmar {

// "0.24.0": the program's version.
std::string versionText();
// "Velmar v0.24.0": the title of the window and of every message box.
std::string appTitle();

}  // namespace velmar
