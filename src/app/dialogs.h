#pragma once

#include <memory>
#include <optional>

#include <QString>

class QWidget;

namespace velmar {

// Every message box, question, input box and file dialog of the program goes through here, so
// that tests can answer them and read what was shown. All boxes carry the program's title. Each
// window asks through dialogs of its own (`over`), so that a box opens over the window that asked
// and gives it the focus back when it closes.
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

    // The same dialogs, opened over `window`. They refer to the window and live no longer than it.
    virtual std::unique_ptr<Dialogs> over(QWidget& window) = 0;
};

// The real dialogs, as Qt shows them.
class QtDialogs final : public Dialogs {
public:
    // Over `parent`; none: over no window (before the main window is there).
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) { }

    void message(const QString& text, Icon icon) override;
    Answer askYesNo(const QString& text, Answer defaultAnswer = Answer::No) override;
    Answer askYesNoCancel(const QString& text, Answer defaultAnswer = Answer::Cancel) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& defaultText) override;
    QString openFile(const QString& folder, const QString& filter) override;
    QString saveFile(const QString& folder, const QString& filter) override;
    std::unique_ptr<Dialogs> over(QWidget& window) override { return std::make_unique<QtDialogs>(&window); }

private:
    // The window a dialog opens over: the parent, or while it is not shown the window it belongs to.
    QWidget* owner() const;

    QWidget* parent_;
};

}  // namespace velmar
