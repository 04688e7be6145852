#pragma once

#include <optional>

#include <QString>

class QWidget;

namespace velmar {

// Every message box, question, input box and file dialog of the program goes through here, so
// that tests can answer them and read what was shown. All boxes carry the program's title.
class Dialogs {
public:
    enum class Icon { None, Information, Exclamation, Critical };
    enum class Answer { Yes, No, Cancel };

    virtual ~Dialogs() = default;

    // An OK-only message box.
    virtual void message(const QString& text, Icon icon = Icon::None) = 0;
    // Yes / No; Enter gives `defaultAnswer`.
    virtual Answer askYesNo(const QString& text, Answer defaultAnswer = Answer::No) = 0;
    // Yes / No / Cancel; Enter gives `defaultAnswer`.
    virtual Answer askYesNoCancel(const QString& text, Answer defaultAnswer = Answer::Cancel) = 0;
    // A one-line input box; nullopt when cancelled.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& defaultText) = 0;
    // The open-file dialog; an empty text when cancelled.
    virtual QString openFile(const QString& folder, const QString& filter) = 0;
    // The save-file dialog (it asks before a file is replaced); an empty text when cancelled.
    virtual QString saveFile(const QString& folder, const QString& filter) = 0;
};

// The real dialogs, as Qt shows them.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) { }
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const QString& text, Icon icon) override;
    Answer askYesNo(const QString& text, Answer defaultAnswer = Answer::No) override;
    Answer askYesNoCancel(const QString& text, Answer defaultAnswer = Answer::Cancel) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& defaultText) override;
    QString openFile(const QString& folder, const QString& filter) override;
    QString saveFile(const QString& folder, const QString& filter) override;

private:
    QWidget* parent_;
};

}  // namespace velmar
