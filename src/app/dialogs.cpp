#include "dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "qt_bridge.h"

namespace velmar {

void QtDialogs::message(const QString& text, Icon icon)
{
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::None: break;
    case Icon::Information: qtIcon = QMessageBox::Information; break;
    case Icon::Exclamation: qtIcon = QMessageBox::Warning; break;
    case Icon::Critical: qtIcon = QMessageBox::Critical; break;
    }
    QMessageBox box(qtIcon, qAppTitle(), text, QMessageBox::Ok, parent_);
    box.exec();
}

Dialogs::Answer QtDialogs::askYesNo(const QString& text, Answer defaultAnswer)
{
    const auto r = QMessageBox::question(parent_, qAppTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                         defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    return r == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Dialogs::Answer QtDialogs::askYesNoCancel(const QString& text, Answer defaultAnswer)
{
    const QMessageBox::StandardButton enter = defaultAnswer == Answer::Yes ? QMessageBox::Yes
        : defaultAnswer == Answer::No                                      ? QMessageBox::No
                                                                           : QMessageBox::Cancel;
    const auto r = QMessageBox::question(parent_, qAppTitle(), text,
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, enter);
    if (r == QMessageBox::Yes)
        return Answer::Yes;
    return r == QMessageBox::No ? Answer::No : Answer::Cancel;
}

std::optional<QString> QtDialogs::inputBox(const QString& prompt, const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, qAppTitle(), prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtDialogs::openFile(const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent_, qAppTitle(), folder, filter);
}

QString QtDialogs::saveFile(const QString& folder, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent_, qAppTitle(), folder, filter);
}

}  // namespace velmar
