#pragma once

#include <QList>
#include <QString>

class QMainWindow;
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

}  // namespace velmar
