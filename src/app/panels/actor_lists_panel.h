#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;

namespace velmar {

// The enemy and item lists, one line per actor, and the boxes of the selected enemy and item:
// positions (read-only; b and x change by a prompt, opened by Enter or a double-click) and the
// type selectors.
class ActorListsPanel : public QWidget {
    Q_OBJECT
public:
    explicit ActorListsPanel(QWidget* parent = nullptr);

    QListWidget* lstEnemyList = nullptr;
    QListWidget* lstItemList = nullptr;
    QGroupBox* fraEnemyEdit = nullptr;
    QLineEdit* txtEnemyEdit_B = nullptr;
    QLineEdit* txtEnemyEdit_X = nullptr;
    QLineEdit* txtEnemyEdit_Y = nullptr;
    QComboBox* cmbEnemyList = nullptr;
    QGroupBox* fraItemEdit = nullptr;
    QLineEdit* txtItemEdit_X = nullptr;
    QLineEdit* txtItemEdit_Y = nullptr;
    QComboBox* cmbItemList = nullptr;

signals:
    // A line clicked by the user.
    void enemyLineChosen();
    void itemLineChosen();
    // The current line moved by the keyboard, or set by the focus coming into the list.
    void enemyLineMoved();
    void itemLineMoved();
    // A type picked by the user in a selector (never when the program fills it).
    void enemyTypeChosen(int index);
    void itemTypeChosen(int index);
    void enemyBDoubleClicked();
    void itemXDoubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace velmar
