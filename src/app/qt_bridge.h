#pragma once

#include <string>

#include <QString>

#include "bitmap_image.h"

namespace velmar {

// Core texts are UTF-8.
inline QString qs(const std::string& s) { return QString::fromStdString(s); }
inline std::string ss(const QString& s) { return s.toStdString(); }

QString qAppTitle();

// A file's message as every window shows it: "Error loading file!\n<path>: <reason>".
QString fileMessageText(const std::string& text, const QString& path, const std::string& reason);

}  // namespace velmar
