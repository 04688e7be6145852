#include "session/window_layout.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QSettings>

namespace velmar {

namespace {

// Raised when the docks change in a way an older arrangement would not fit.
constexpr int kDockLayoutVersion = 1;

QString windowKey(const QWidget& window) { return "windows/" + window.objectName(); }

}  // namespace

bool WindowLayout::restoreMain(QMainWindow& window) const
{
    const QSettings kept(file_, QSettings::IniFormat);
    window.restoreGeometry(kept.value("window/geometry").toByteArray());
    return window.restoreState(kept.value("window/docks").toByteArray(), kDockLayoutVersion);
}

bool WindowLayout::restoreWindow(QWidget& window) const
{
    const QSettings kept(file_, QSettings::IniFormat);
    const QByteArray geometry = kept.value(windowKey(window)).toByteArray();
    // Qt puts a window kept on a screen that is gone, or larger than this one, back on the screen.
    return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

void WindowLayout::save(const QMainWindow& window, const QList<QWidget*>& windows) const
{
    QDir().mkpath(QFileInfo(file_).absolutePath());
    QSettings kept(file_, QSettings::IniFormat);
    kept.setValue("window/geometry", window.saveGeometry());
    kept.setValue("window/docks", window.saveState(kDockLayoutVersion));
    // Left from the panels of older programs.
    kept.remove("window/panels");
    for (const QWidget* w : windows)
        kept.setValue(windowKey(*w), w->saveGeometry());
    kept.sync();
}

}  // namespace velmar
