#pragma once

#include <deque>

#include <QString>
#include <QStringList>

#include "dialogs.h"

namespace velmar::test {

// Answers every dialog from a script and records what was shown.
class ScriptedDialogs final : public Dialogs {
public:
    QStringList messages;          // every message box text, in order
    QStringList questions;         // every question text
    std::deque<Answer> answers;    // answers to questions, in order (No when empty)
    std::deque<QString> files;     // answers to the open dialog (cancel when empty)
    std::deque<std::optional<QString>> inputs;  // answers to input boxes (cancel when empty)
    QString lastFolder;            // the folder the open dialog started in

    void message(const QString& text, Icon) override { messages << text; }
    Answer askYesNo(const QString& text, Answer = Answer::No) override { return next(text); }
    Answer askYesNoCancel(const QString& text) override { return next(text); }
    std::optional<QString> inputBox(const QString& prompt, const QString&) override
    {
        questions << prompt;
        if (inputs.empty())
            return std::nullopt;
        std::optional<QString> typed = inputs.front();
        inputs.pop_front();
        return typed;
    }
    QString openFile(const QString& folder, const QString&) override
    {
        lastFolder = folder;
        if (files.empty())
            return QString();
        QString f = files.front();
        files.pop_front();
        return f;
    }

private:
    Answer next(const QString& text)
    {
        questions << text;
        if (answers.empty())
            return Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

}  // namespace velmar::test
