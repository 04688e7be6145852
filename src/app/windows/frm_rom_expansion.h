#pragma once

#include <QDialog>

#include "base/hex.h"
#include "windows/editor_context.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velmar {

// "Scene Editor": the resize dialog for the current scene's length in screens (edit type 0),
// its item count (1) or its enemy count (2). Each change repacks the maps or the actor tables of
// every scene and is one step of the history. The work is done when the dialog closes with OK;
// before that the dialog shows how full the packed area would be.
class frmRomExpansion : public QDialog {
    Q_OBJECT
public:
    enum EditType { Map = 0, Items = 1, Enemies = 2 };

    explicit frmRomExpansion(const EditorContext& context);

    // Shows the part for `editType` filled from the current scene, the value selected. Any other
    // type is an error: a message, and the dialog closes.
    void initGUI(int editType);

    QGroupBox* frmSceneExpander = nullptr;
    QLineEdit* txtNewLength = nullptr;
    QRadioButton* optInsert = nullptr;
    QRadioButton* optAppend = nullptr;
    QLabel* lblMapRoom = nullptr;
    QGroupBox* frmActorExpander = nullptr;
    QLabel* lblActorCount_Old = nullptr;
    QLineEdit* txtActorCount_New = nullptr;
    QLabel* lblActorRoom = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

public slots:
    void cmdOk_Click();
    void cmdCancel_Click();
    void txtNewLength_Change();
    void txtActorCount_New_Change();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // What the boxes hold: a length of 00 to 10 (screens less one), a count of 00 to FF.
    HexByte typedLength() const;
    HexByte typedCount() const;
    // Carries out the change asked for; false when the box holds no value the change takes, or
    // the user took the shrink back (the dialog then stays open).
    bool resizeMap();
    bool resizeActors();
    // A box whose text is no value: it shows `current` again, and a message says what it takes.
    void refuseTyped(QLineEdit* box, int current, const HexByte& typed);

    EditorContext ctx_;
    int editType_ = Map;
    bool ok_ = false;
    bool cancel_ = false;
};

}  // namespace velmar
