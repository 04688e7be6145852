#pragma once

#include <string>
#include <vector>

#include <QWidget>

#include "windows/editor_context.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace velmar {

struct DocumentEvent;

// "Text Editor": the game's 113 texts, one line each, edited one at a time as a single line in
// the character table's forms. The edits are kept in the window and stored together when it
// closes, as one step of the history: all texts packed again from the start of the text area.
// A window closed without edits stores nothing.
class frmTextEdit : public QWidget {
    Q_OBJECT
public:
    explicit frmTextEdit(const EditorContext& context);

    // Decodes all texts and fills the list, text 0 selected. When some text cannot be decoded
    // the user is told which and why, and false says the window must not open.
    bool initGUI();

    // True when some text differs from the image's.
    bool hasEdits() const;
    // Packs the edited texts into the image, as closing does. On a refusal the failing text is
    // selected, the reason is shown and false comes back; nothing was written.
    bool storeTexts();
    // Forgets the edits: the texts are the image's again.
    void dropEdits();
    // Before the file is left, closed or made into a patch: the edits the window holds are
    // stored or dropped, as the user answers; false when they chose to stay (or storing failed,
    // which they are told).
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
    // Reads the texts from the image again, keeping the selection; false when one cannot be read.
    bool loadTexts(bool tellFailure);
    QString listLine(int n) const;
    // The sizes, the room of the area and what keeps the selected text from being stored.
    void refreshRoom();
    void select(int n);

    EditorContext ctx_;
    std::vector<std::string> original_;
    std::vector<std::string> gameTexts_;
    int selectedText_ = 0;
    bool filling_ = false;
};

}  // namespace velmar
