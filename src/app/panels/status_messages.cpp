#include "panels/status_messages.h"

#include <QStatusBar>

namespace velmar {

StatusMessages::StatusMessages(QStatusBar& bar) : QObject(&bar), bar_(bar)
{
    // Whoever shows a passing message on the bar itself: when it is gone, the warning is back.
    connect(&bar_, &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty() && !warning_.isEmpty())
            bar_.showMessage(warning_);
    });
}

void StatusMessages::warn(const QString& text)
{
    warning_ = text;
    bar_.showMessage(text);
}

void StatusMessages::clearWarning()
{
    if (warning_.isEmpty())
        return;
    warning_.clear();
    bar_.clearMessage();
}

void StatusMessages::refuse(const QString& text, int ms)
{
    refusal_ = text;
    bar_.showMessage(text, ms);
}

void StatusMessages::documentChanged()
{
    if (!refusal_.isEmpty() && bar_.currentMessage() == refusal_)
        bar_.clearMessage();
    refusal_.clear();
}

void StatusMessages::pass(const QString& text, int ms)
{
    bar_.showMessage(warning_.isEmpty() ? text : text + "   " + warning_, ms);
}

}  // namespace velmar
