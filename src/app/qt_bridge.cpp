#include "qt_bridge.h"

#include "rom/rom_file.h"

#include "files/app_info.h"

namespace velmar {

QString qAppTitle() { return qs(appTitle()); }

QString fileMessageText(const std::string& text, const QString& path, const std::string& reason)
{
    return qs(fileMessage(text, ss(path), reason));
}

}  // namespace velmar
