#include "dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "qt_bridge.h"

namespace velmar {

namespace {

// Hands the keyboard back to the window the dialog was opened over, whatever the window manager
// chooses to activate when the dialog goes.
template <typename T> T focusBack(QWidget* over, T result)
{
    if (over && over->isVisible())
        over->window()->activateWindow();
    return result;
}

}  // namespace

QWidget* QtDialogs::owner() const
{
    // A window that is not shown (an editor that cannot open) asks over the window it belongs to.
    QWidget* w = parent_;
    while (w && !w->isVisible())
        w = w->parentWidget();
    return w;
}

void QtDialogs::message(const QString& text, Icon icon)
{
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::None: break;
    case Icon::Information: qtIcon = QMessageBox::Information; break;
    case Icon::Exclamation: qtIcon = QMessageBox::Warning; break;
    case Icon::Critical: qtIcon = QMessageBox::Critical; break;
    }
    QWidget* w = owner();
    QMessageBox box(qtIcon, qAppTitle(), text, QMessageBox::Ok, w);
    focusBack(w, box.exec());
}

Dialogs::Answer QtDialogs::askYesNo(const QString& text, Answer defaultAnswer)
{
    QWidget* w = owner();
    const auto r = QMessageBox::question(w, qAppTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                         defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    return focusBack(w, r == QMessageBox::Yes ? Answer::Yes : Answer::No);
}

Dialogs::Answer QtDialogs::askYesNoCancel(const QString& text, Answer defaultAnswer)
{
    const QMessageBox::StandardButton enter = defaultAnswer == Answer::Yes ? QMessageBox::Yes
        : defaultAnswer == Answer::No                                      ? QMessageBox::No
                                                                           : QMessageBox::Cancel;
    QWidget* w = owner();
    const auto r =
        QMessageBox::question(w, qAppTitle(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, enter);
    return focusBack(w, r == QMessageBox::Yes ? Answer::Yes : r == QMessageBox::No ? Answer::No : Answer::Cancel);
}

std::optional<QString> QtDialogs::inputBox(const QString& prompt, const QString& defaultText)
{
    bool ok = false;
    QWidget* w = owner();
    const QString text =
        focusBack(w, QInputDialog::getText(w, qAppTitle(), prompt, QLineEdit::Normal, defaultText, &ok));
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtDialogs::openFile(const QString& folder, const QString& filter)
{
    QWidget* w = owner();
    return focusBack(w, QFileDialog::getOpenFileName(w, qAppTitle(), folder, filter));
}

QString QtDialogs::saveFile(const QString& folder, const QString& filter)
{
    QWidget* w = owner();
    return focusBack(w, QFileDialog::getSaveFileName(w, qAppTitle(), folder, filter));
}

}  // namespace velmar
