#pragma once

#include <string>

namespace velmar {

// "Velmar v0.24.0": the title of the window and of every message box.
std::string appTitle();

}  // namespace velmar
