#pragma once

#include <deque>
#include <functional>
#include <utility>

#include <QString>
#include <QStringList>

#include "dialogs.h"

namespace velmar::test {

// Answers every dialog from a script and records what was shown.
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
    // Runs once, while the next message box is up: what the program may hear then, such as the
    // box that was being typed into losing the focus to the message box.
    std::function<void()> whileShowing;
    // The same for the next question, once its answer is taken.
    std::function<void()> whileAsking;

    void message(const QString& text, Icon icon) override
    {
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
        lastFolder = folder;
        return take(files, QString());
    }
    QString saveFile(const QString& folder, const QString&) override
    {
        lastFolder = folder;
        return take(saveFiles, QString());
    }

private:
    Answer next(const QString& text, Answer defaultAnswer)
    {
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
};

}  // namespace velmar::test
