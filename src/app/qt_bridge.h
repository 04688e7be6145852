#pragma once

#include <string>

#include <QImage>
#include <QString>

#include "gfx/bitmap.h"

namespace velmar {

// The one place where core pictures become Qt images (red + 256 green + 65536 blue -> RGB).
QImage toQImage(const Bitmap& bitmap);
QColor toQColor(ScreenColour colour);

// Core texts are UTF-8.
inline QString qs(const std::string& s) { return QString::fromStdString(s); }
inline std::string ss(const QString& s) { return s.toStdString(); }

QString qAppTitle();

}  // namespace velmar
