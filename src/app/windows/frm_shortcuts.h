#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QPushButton;
class QTableWidget;

namespace velmar {

// A key a view reads itself rather than through an action: what to press, what it does, where.
struct KeyHelp {
    QString keys;
    QString does;
    QString where;
};

// "Keyboard Shortcuts": every key of the program in one table. The shortcuts come from the
// actions of the windows each time the table is filled, so a key added or changed shows as it
// is; the keys the map and the picker read themselves follow them.
class frmShortcuts : public QDialog {
    Q_OBJECT
public:
    explicit frmShortcuts(QWidget* parent = nullptr);

    // Fills the table: the actions of each window's menus in menu order, then any other action of
    // the window that has a key, then `viewKeys`.
    void initGUI(const QList<QWidget*>& windows, const QList<KeyHelp>& viewKeys);

    QTableWidget* tblShortcuts = nullptr;
    QPushButton* cmdClose = nullptr;
};

}  // namespace velmar
