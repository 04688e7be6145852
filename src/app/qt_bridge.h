#pragma once

#include <string>

#include <QString>

#include "bitmap_image.h"

namespace velmar {

// Core texts are UTF-8.
inline QString qs(const std::string& s) { return QString::fromStdString(s); }
inline std::string ss(const QString& s) { return s.toStdString(); }

QString qAppTitle();

}  // namespace velmar
