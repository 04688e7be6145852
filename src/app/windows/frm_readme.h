#pragma once

#include <QWidget>

class QTextBrowser;

namespace velmar {

// "README": the program's README shown in a window of its own, as Markdown with its pictures,
// so that Help never depends on a viewer being installed. Links to web pages open in the
// browser; the README's own links move within it.
class frmReadme : public QWidget {
    Q_OBJECT
public:
    explicit frmReadme(QWidget* parent);

    // Shows `file`; false, with the reason, when it cannot be read.
    bool initGUI(const QString& file, QString& reason);

    QTextBrowser* txtReadme = nullptr;

    // Room for the text and its pictures; it opens beside the main window, as the editors do.
    QSize sizeHint() const override { return {820, 700}; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace velmar
