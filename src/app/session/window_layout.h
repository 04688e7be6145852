#pragma once

#include <functional>

#include <QList>
#include <QObject>
#include <QString>

class QMainWindow;
class QTimer;
class QWidget;

namespace velmar {

// The arrangement of the program's windows between runs, in a file of its own (layout.ini), so
// that VELMAR.INI keeps its own line rules: the main window's size and place and where its docks
// are, and the size and place of each editor window.
class WindowLayout {
public:
    explicit WindowLayout(QString file) : file_(std::move(file)) { }

    QString file() const { return file_; }
    // The main window as it was left. False when no arrangement of its docks was kept (none yet,
    // or one of an older program): the window keeps its first arrangement.
    bool restoreMain(QMainWindow& window) const;
    // An editor window, by its object name, as it was left; false when it has no place kept yet.
    bool restoreWindow(QWidget& window) const;
    // Keeps the main window and `windows` (the editor windows opened in this run) as they are
    // now; the others keep what an earlier run left.
    void save(const QMainWindow& window, const QList<QWidget*>& windows) const;

private:
    QString file_;
};

// Keeps the layout file in step with the windows while the program runs, so that a run that
// ends without closing properly (a crash, a kill) keeps the arrangement too: a moment after the
// main window, a dock or a watched window last moved or changed size, and at once when a
// watched window closes.
class WindowLayoutWriter : public QObject {
    Q_OBJECT
public:
    // `windows` gives the windows whose places `layout` keeps beside `window`'s. The main window
    // and its docks are watched from here on.
    WindowLayoutWriter(const WindowLayout& layout, QMainWindow& window, std::function<QList<QWidget*>()> windows);

    // Another window to follow, as it is made.
    void watch(QWidget& window);
    // Writes the layout now (while the main window is shown).
    void write();
    // No more writes: the program is ending and writes its own.
    void stop();
    // The wait after the last change.
    QTimer* timer() const { return timer_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const WindowLayout& layout_;
    QMainWindow& window_;
    std::function<QList<QWidget*>()> windows_;
    QTimer* timer_ = nullptr;
    bool stopped_ = false;
};

}  // namespace velmar
