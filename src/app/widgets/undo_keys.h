#pragma once

#include <QObject>

namespace velmar {

// Ctrl+Z and the redo keys in a text box that has nothing of its own to take back: a box
// whose value was just stored shows it again with no history, yet Qt gives it the keys, and
// the user's last step was not undone. This filter, on the application, lets the window's
// Undo and Redo have the keys then; a box with typing of its own still takes them first.
class UndoKeysFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace velmar
