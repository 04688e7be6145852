#include "widgets/undo_keys.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextEdit>

namespace velmar {

namespace {

// Whether the text box `watched` has a step of its own for the key; -1 when it is no text box
// that takes the key.
int ownStep(QObject* watched, bool undo)
{
    QLineEdit* line = qobject_cast<QLineEdit*>(watched);
    if (auto* combo = qobject_cast<QComboBox*>(watched))
        line = combo->lineEdit();
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(watched))
        line = spin->findChild<QLineEdit*>();
    if (line)
        return line->isReadOnly() ? -1 : (undo ? line->isUndoAvailable() : line->isRedoAvailable());
    QTextDocument* text = nullptr;
    if (auto* plain = qobject_cast<QPlainTextEdit*>(watched); plain && !plain->isReadOnly())
        text = plain->document();
    else if (auto* rich = qobject_cast<QTextEdit*>(watched); rich && !rich->isReadOnly())
        text = rich->document();
    if (!text)
        return -1;
    return undo ? text->isUndoAvailable() : text->isRedoAvailable();
}

}  // namespace

bool UndoKeysFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool undo = key->matches(QKeySequence::Undo);
    if (!undo && !key->matches(QKeySequence::Redo))
        return false;
    // Left unaccepted, the override lets the shortcuts have the key.
    return ownStep(watched, undo) == 0;
}

}  // namespace velmar
