#include "session/window_layout.h"

#include <QDir>
#include <QDockWidget>
#include <QEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QSettings>
#include <QTimer>

namespace velmar {

namespace {

// How long the windows stay still before their places are written.
constexpr int kWriteDelayMs = 1000;

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

WindowLayoutWriter::WindowLayoutWriter(const WindowLayout& layout, QMainWindow& window,
                                       std::function<QList<QWidget*>()> windows)
    : QObject(&window), layout_(layout), window_(window), windows_(std::move(windows))
{
    timer_ = new QTimer(this);
    timer_->setObjectName("tmrLayout");
    timer_->setSingleShot(true);
    timer_->setInterval(kWriteDelayMs);
    connect(timer_, &QTimer::timeout, this, &WindowLayoutWriter::write);
    watch(window_);
    for (QDockWidget* dock : window_.findChildren<QDockWidget*>()) {
        watch(*dock);
        connect(dock, &QDockWidget::dockLocationChanged, timer_, qOverload<>(&QTimer::start));
    }
}

void WindowLayoutWriter::watch(QWidget& window) { window.installEventFilter(this); }

void WindowLayoutWriter::write()
{
    timer_->stop();
    if (!stopped_ && window_.isVisible())
        layout_.save(window_, windows_());
}

void WindowLayoutWriter::stop()
{
    stopped_ = true;
    timer_->stop();
}

bool WindowLayoutWriter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
        if (!stopped_)
            timer_->start();
        break;
    case QEvent::Close:
        // The main window writes its own as it closes.
        if (watched != &window_)
            write();
        break;
    default: break;
    }
    return false;
}

}  // namespace velmar
