#pragma once

#include <QObject>
#include <QString>

class QStatusBar;

namespace velmar {

// The status bar's messages by weight. A warning (edits that are not kept for recovery) stands
// until the one who gave it takes it back; a passing word (a load or a save that worked, a hint)
// is shown before it for a while and never takes its place, so a success that follows at once
// does not hide what the user must read. A refusal (a typed value not taken, a key that went no
// further) stands a while, or until the next step, which makes it old news.
class StatusMessages : public QObject {
    Q_OBJECT
public:
    explicit StatusMessages(QStatusBar& bar);

    void warn(const QString& text);
    void clearWarning();
    // Shown for `ms` milliseconds, with the warning after it when one stands.
    void pass(const QString& text, int ms);
    void refuse(const QString& text, int ms = 10000);
    // A step was done, undone or redone, or another scene or file came: a refusal still shown goes.
    void documentChanged();

private:
    QStatusBar& bar_;
    QString warning_;
    QString refusal_;
};

}  // namespace velmar
