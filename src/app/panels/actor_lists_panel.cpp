#include "panels/actor_lists_panel.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace velmar {

namespace {

// A read-only box; `prompt` names the value typed into the prompt that Enter or a double-click
// opens, and such a box stays in the Tab order. The others are passed over by Tab; a click still
// selects their text for copying.
QLineEdit* positionBox(QWidget* parent, const char* name, const QString& shows, int characters,
                       const QString& prompt = QString())
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setToolTip(prompt.isEmpty() ? shows : shows + ": press Enter or double-click to type a new " + prompt);
    box->setAccessibleName(shows);
    box->setReadOnly(true);
    if (prompt.isEmpty())
        box->setFocusPolicy(Qt::ClickFocus);
    box->setMaxLength(characters);
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(34);
    return box;
}

QListWidget* actorList(QWidget* parent, const char* name, const QString& tip)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setToolTip(tip);
    list->setAccessibleName(tip);
    QFont mono = list->font();
    mono.setFamily("monospace");
    mono.setStyleHint(QFont::TypeWriter);
    list->setFont(mono);
    list->setMinimumHeight(90);
    return list;
}

// A caption beside a box; a screen reader speaks the box's own name, the caption says it too.
QLabel* caption(QWidget* parent, const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    label->setAccessibleName(buddy->accessibleName());
    label->setBuddy(buddy);
    return label;
}

}  // namespace

ActorListsPanel::ActorListsPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("actorLists");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    lstEnemyList = actorList(this, "lstEnemyList", "Enemy List -> #: [ID] [B] [X] [Y]");
    layout->addWidget(lstEnemyList);
    fraEnemyEdit = new QGroupBox("Enemy Editor", this);
    fraEnemyEdit->setObjectName("fraEnemyEdit");
    fraEnemyEdit->setAccessibleName("Enemy Editor");
    auto* enemyGrid = new QGridLayout(fraEnemyEdit);
    txtEnemyEdit_B = positionBox(fraEnemyEdit, "txtEnemyEdit_B", "Enemy Base X", 2, "B value");
    txtEnemyEdit_X = positionBox(fraEnemyEdit, "txtEnemyEdit_X", "Enemy Screen X", 1);
    txtEnemyEdit_Y = positionBox(fraEnemyEdit, "txtEnemyEdit_Y", "Enemy Y", 1);
    enemyGrid->addWidget(caption(fraEnemyEdit, "B:", txtEnemyEdit_B), 0, 0);
    enemyGrid->addWidget(txtEnemyEdit_B, 0, 1);
    enemyGrid->addWidget(caption(fraEnemyEdit, "X:", txtEnemyEdit_X), 0, 2);
    enemyGrid->addWidget(txtEnemyEdit_X, 0, 3);
    enemyGrid->addWidget(caption(fraEnemyEdit, "Y:", txtEnemyEdit_Y), 0, 4);
    enemyGrid->addWidget(txtEnemyEdit_Y, 0, 5);
    cmbEnemyList = new QComboBox(fraEnemyEdit);
    cmbEnemyList->setObjectName("cmbEnemyList");
    cmbEnemyList->setAccessibleName("Enemy type");
    cmbEnemyList->setToolTip("Enemy type");
    enemyGrid->addWidget(cmbEnemyList, 1, 0, 1, 6);
    layout->addWidget(fraEnemyEdit);

    lstItemList = actorList(this, "lstItemList", "Item List -> #: [ID] [X] [Y]");
    layout->addWidget(lstItemList);
    fraItemEdit = new QGroupBox("Item Editor", this);
    fraItemEdit->setObjectName("fraItemEdit");
    fraItemEdit->setAccessibleName("Item Editor");
    auto* itemGrid = new QGridLayout(fraItemEdit);
    txtItemEdit_X = positionBox(fraItemEdit, "txtItemEdit_X", "Item X", 2, "X value");
    txtItemEdit_Y = positionBox(fraItemEdit, "txtItemEdit_Y", "Item Y", 2);
    itemGrid->addWidget(caption(fraItemEdit, "X:", txtItemEdit_X), 0, 0);
    itemGrid->addWidget(txtItemEdit_X, 0, 1);
    itemGrid->addWidget(caption(fraItemEdit, "Y:", txtItemEdit_Y), 0, 2);
    itemGrid->addWidget(txtItemEdit_Y, 0, 3);
    itemGrid->setColumnStretch(4, 1);
    cmbItemList = new QComboBox(fraItemEdit);
    cmbItemList->setObjectName("cmbItemList");
    cmbItemList->setAccessibleName("Item type");
    cmbItemList->setToolTip("Item type");
    itemGrid->addWidget(cmbItemList, 1, 0, 1, 5);
    layout->addWidget(fraItemEdit);

    // A click chooses a line, also the line already chosen; the keyboard (or the focus coming in
    // with Tab, which makes the first line current) only moves the current line.
    connect(lstEnemyList, &QListWidget::itemClicked, this, &ActorListsPanel::enemyLineChosen);
    connect(lstItemList, &QListWidget::itemClicked, this, &ActorListsPanel::itemLineChosen);
    connect(lstEnemyList, &QListWidget::currentRowChanged, this, [this] {
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            emit enemyLineMoved();
    });
    connect(lstItemList, &QListWidget::currentRowChanged, this, [this] {
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            emit itemLineMoved();
    });
    connect(cmbEnemyList, &QComboBox::activated, this, &ActorListsPanel::enemyTypeChosen);
    connect(cmbItemList, &QComboBox::activated, this, &ActorListsPanel::itemTypeChosen);
    txtEnemyEdit_B->installEventFilter(this);
    txtItemEdit_X->installEventFilter(this);
}

bool ActorListsPanel::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on the focused box does what a double-click does, for the keyboard.
    const bool enter = event->type() == QEvent::KeyPress
        && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return
            || static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (event->type() == QEvent::MouseButtonDblClick || enter) {
        if (watched == txtEnemyEdit_B)
            emit enemyBDoubleClicked();
        else if (watched == txtItemEdit_X)
            emit itemXDoubleClicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace velmar
