#include "qt_bridge.h"

#include "files/app_info.h"

namespace velmar {

QString qAppTitle()
{
    return qs(appTitle());
}

}  // namespace velmar
