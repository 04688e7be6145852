#include "windows/frm_shortcuts.h"

#include <functional>

#include <QAbstractButton>
#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmar {

namespace {

QString keysOf(const QAction* action)
{
    QStringList keys;
    for (const QKeySequence& k : action->shortcuts())
        keys << k.toString(QKeySequence::NativeText);
    return keys.join(", ");
}

// Menu captions without their mnemonic marks: "&Edit" is "Edit".
QString plain(QString caption) { return caption.remove(QRegularExpression("&(?!&)")); }

}  // namespace

frmShortcuts::frmShortcuts(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmShortcuts");
    setWindowTitle("Keyboard Shortcuts");
    auto* layout = new QVBoxLayout(this);
    tblShortcuts = new QTableWidget(0, 3, this);
    tblShortcuts->setObjectName("tblShortcuts");
    tblShortcuts->setAccessibleName("Keyboard shortcuts");
    tblShortcuts->setHorizontalHeaderLabels({"Command", "Keys", "Where"});
    tblShortcuts->verticalHeader()->hide();
    // The button in the headers' corner selects every row.
    tblShortcuts->setCornerButtonEnabled(false);
    if (auto* corner = tblShortcuts->findChild<QAbstractButton*>())
        corner->setAccessibleName("Select all");
    tblShortcuts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblShortcuts->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblShortcuts->setWordWrap(true);
    tblShortcuts->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    tblShortcuts->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    tblShortcuts->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    layout->addWidget(tblShortcuts);
    auto* buttons = new QDialogButtonBox(this);
    cmdClose = buttons->addButton(QDialogButtonBox::Close);
    cmdClose->setObjectName("cmdClose");
    cmdClose->setAccessibleName("Close");
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(buttons);
    resize(620, 520);
}

void frmShortcuts::initGUI(const QList<QWidget*>& windows, const QList<KeyHelp>& viewKeys)
{
    tblShortcuts->setRowCount(0);
    const auto addRow = [this](const QString& command, const QString& keys, const QString& where) {
        const int row = tblShortcuts->rowCount();
        tblShortcuts->insertRow(row);
        tblShortcuts->setItem(row, 0, new QTableWidgetItem(command));
        tblShortcuts->setItem(row, 1, new QTableWidgetItem(keys));
        tblShortcuts->setItem(row, 2, new QTableWidgetItem(where));
    };
    QSet<const QAction*> listed;
    // The menus in their order, so that the table reads as the menus do.
    std::function<void(const QList<QAction*>&, const QString&)> walk = [&](const QList<QAction*>& actions,
                                                                           const QString& where) {
        for (const QAction* a : actions) {
            if (a->menu()) {
                const QString name = plain(a->text());
                walk(a->menu()->actions(), where.isEmpty() ? name : where + " > " + name);
            } else if (!a->shortcuts().isEmpty() && !listed.contains(a)) {
                listed.insert(a);
                addRow(a->iconText(), keysOf(a), where);
            }
        }
    };
    for (QWidget* window : windows) {
        auto* main = qobject_cast<QMainWindow*>(window);
        if (main)
            walk(main->menuBar()->actions(), QString());
        for (const QAction* a : window->findChildren<QAction*>()) {
            if (!a->shortcuts().isEmpty() && !listed.contains(a)) {
                listed.insert(a);
                addRow(a->iconText(), keysOf(a), main ? QString("Main window") : window->windowTitle());
            }
        }
    }
    for (const KeyHelp& k : viewKeys)
        addRow(k.does, k.keys, k.where);
    tblShortcuts->resizeRowsToContents();
}

}  // namespace velmar
