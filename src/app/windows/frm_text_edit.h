#pragma once

#include <string>
#include <vector>

#include <QWidget>

#include "windows/editor_context.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;

namespace velmar {

struct DocumentEvent;

// "Text Editor": the game's 113 texts, one line each, edited one at a time as a single line in
// the character table's forms. A text is stored as one step of the history ("Edit Text", all
// texts packed again from the start of the text area) when it is left: Enter, another line, the
// box losing the focus, the window closing. So the image, its title, a save, a patch, a play test
// and the recovery copy have every text as soon as it is left. A text that cannot be stored (it
// does not encode, the texts do not fit, or the user held back one without its end code) stays in
// the window, marked, until it is stored or dropped.
class frmTextEdit : public QWidget {
    Q_OBJECT
public:
    explicit frmTextEdit(const EditorContext& context);

    // Decodes all texts and fills the list, text 0 selected. When some text cannot be decoded
    // the user is told which and why, and false says the window must not open.
    bool initGUI();

    // True when the window holds a text the image does not have (being typed, or not stored).
    bool hasEdits() const;
    // Stores every text the window holds, as closing does, each as one step. On a refusal the
    // failing text is selected, the reason is shown and false comes back.
    bool storeTexts();
    // Forgets the texts not stored: the texts are the image's again.
    void dropEdits();
    // Before the file is saved, left, closed, patched or played: the text being typed is stored
    // as leaving it does; texts that cannot be stored are dropped when the user goes on without
    // them. False when they chose to stay.
    bool settleEdits();

    int selectedText() const { return selectedText_; }

    QLineEdit* txtFilter = nullptr;
    QListWidget* lstTextStrings = nullptr;
    QLineEdit* txtSelectedText = nullptr;
    QLabel* lblTextSize = nullptr;
    QLabel* lblTextRoom = nullptr;
    QLabel* lblTextProblem = nullptr;

public slots:
    void lstTextStrings_Click(int row);
    void txtSelectedText_LostFocus();
    void txtSelectedText_Change(const QString& text);
    void txtFilter_Change(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void document_Changed(const DocumentEvent& event);
    void txtSelectedText_Return();
    // Reads the texts from the image, dropping those the window holds; false when one cannot be
    // read.
    bool loadTexts(bool tellFailure);
    // Takes the image's texts after an edit, keeping those the window holds that are not stored
    // (and with `keepTyping` what the box holds); false when one cannot be read.
    bool followImage(bool keepTyping);
    // The text being typed becomes the window's text; stored when it changed, or with `retry`.
    void takeSelected(bool retry);
    // Stores the window's text n as one step, asking first when it has no end code; false when
    // it was not stored (the reason is shown when n is selected).
    bool storeText(int n);
    QString listLine(int n) const;
    // What keeps `text` as text n from being stored as it stands, or empty.
    QString problemOf(int n, const std::string& text) const;
    // A line with a problem, or not stored, shows a warning sign and the problem as its tip.
    void markLine(int n, const QString& problem);
    // The sizes, the room of the area and what keeps the selected text from being stored.
    void refreshRoom();
    void select(int n);

    EditorContext ctx_;
    QAction* actTextWarning_ = nullptr;   // the warning sign in the text box
    std::vector<std::string> original_;   // the image's texts
    std::vector<std::string> gameTexts_;  // the window's: the image's, and those not stored
    int selectedText_ = 0;
    bool filling_ = false;
    bool storing_ = false;
};

}  // namespace velmar
