#include "files/app_info.h"

#include "velmar_version.h"

namespace velmar {

std::string versionText() { return VELMAR_VERSION_TEXT; }

std::string appTitle() { return "Velmar v" + versionText(); }

}  // namespace velmar
