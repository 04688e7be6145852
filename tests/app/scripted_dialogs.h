#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <utility>

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "dialogs.h"

namespace velmar::test {

// Answers every dialog from a script and records what was shown, and over which window.
class ScriptedDialogs final : public Dialogs {
public:
    QStringList messages;                       // every message box text, in order
    QList<Icon> icons;                          // the icon of each message box
    QStringList questions;                      // every question text
    QList<Answer> defaults;                     // the answer Enter gives to each (Cancel: an input box)
    std::deque<Answer> answers;                 // answers to questions, in order (No when empty)
    std::deque<QString> files;                  // answers to the open dialog (cancel when empty)
    std::deque<QString> saveFiles;              // answers to the save dialog (cancel when empty)
    std::deque<std::optional<QString>> inputs;  // answers to input boxes (cancel when empty)
    QString lastFolder;                         // the folder the last file dialog started in
    // The object name of the window each box and file dialog opened over, in order; empty for
    // none.
    QStringList windows;
    // Runs once, while the next message box is up: what the program may hear then, such as the
    // box that was being typed into losing the focus to the message box.
    std::function<void()> whileShowing;
    // The same for the next question, once its answer is taken.
    std::function<void()> whileAsking;

    void message(const QString& text, Icon icon) override
    {
        shownOver();
        messages << text;
        icons << icon;
        if (const std::function<void()> during = std::exchange(whileShowing, nullptr))
            during();
    }
    Answer askYesNo(const QString& text, Answer defaultAnswer = Answer::No) override
    {
        return next(text, defaultAnswer);
    }
    Answer askYesNoCancel(const QString& text, Answer defaultAnswer = Answer::Cancel) override
    {
        return next(text, defaultAnswer);
    }
    std::optional<QString> inputBox(const QString& prompt, const QString&) override
    {
        shownOver();
        questions << prompt;
        defaults << Answer::Cancel;
        if (inputs.empty())
            return std::nullopt;
        const std::optional<QString> typed = inputs.front();
        inputs.pop_front();
        return typed;
    }
    QString openFile(const QString& folder, const QString&) override
    {
        shownOver();
        lastFolder = folder;
        return take(files, QString());
    }
    QString saveFile(const QString& folder, const QString&) override
    {
        shownOver();
        lastFolder = folder;
        return take(saveFiles, QString());
    }
    std::unique_ptr<Dialogs> over(QWidget& window) override { return std::make_unique<Over>(*this, window); }

private:
    // The same script, over `window`.
    class Over final : public Dialogs {
        // Shows what `show` shows, as asked over the window.
        template <typename F> auto asked(F show)
        {
            const QPointer<QWidget> before = std::exchange(script_.asking_, window_);
            auto r = show();
            script_.asking_ = before;
            return r;
        }

    public:
        Over(ScriptedDialogs& script, QWidget& window) : script_(script), window_(&window) { }
        void message(const QString& text, Icon icon) override
        {
            asked([&] { return (script_.message(text, icon), 0); });
        }
        Answer askYesNo(const QString& text, Answer a = Answer::No) override
        {
            return asked([&] { return script_.askYesNo(text, a); });
        }
        Answer askYesNoCancel(const QString& text, Answer a = Answer::Cancel) override
        {
            return asked([&] { return script_.askYesNoCancel(text, a); });
        }
        std::optional<QString> inputBox(const QString& prompt, const QString& text) override
        {
            return asked([&] { return script_.inputBox(prompt, text); });
        }
        QString openFile(const QString& folder, const QString& filter) override
        {
            return asked([&] { return script_.openFile(folder, filter); });
        }
        QString saveFile(const QString& folder, const QString& filter) override
        {
            return asked([&] { return script_.saveFile(folder, filter); });
        }
        std::unique_ptr<Dialogs> over(QWidget& window) override { return script_.over(window); }

    private:
        ScriptedDialogs& script_;
        QPointer<QWidget> window_;
    };

    void shownOver() { windows << (asking_ ? asking_->objectName() : QString()); }

    Answer next(const QString& text, Answer defaultAnswer)
    {
        shownOver();
        questions << text;
        defaults << defaultAnswer;
        const Answer answer = take(answers, Answer::No);
        if (const std::function<void()> during = std::exchange(whileAsking, nullptr))
            during();
        return answer;
    }

    // The next scripted answer, or `none` when the script has run out.
    template <typename T> static T take(std::deque<T>& script, T none)
    {
        if (script.empty())
            return none;
        T first = script.front();
        script.pop_front();
        return first;
    }

    QPointer<QWidget> asking_;
};

}  // namespace velmar::test
