#include "files/app_info.h"

namespace velmar {

std::string appTitle()
{
    return "Velmar v" + std::to_string(VELMAR_VERSION_MAJOR) + "." + std::to_string(VELMAR_VERSION_MINOR)
        + "." + std::to_string(VELMAR_VERSION_PATCH);
}

}  // namespace velmar
