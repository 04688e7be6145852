#pragma once

#include <QList>

#include "windows/editor_context.h"

namespace velmar {

class frmBkgEdit;
class frmOptions;
class frmPalEdit;
class frmReadme;
class frmRomExpansion;
class frmShortcuts;
class frmSprEdit;
class frmTextEdit;
class WindowLayout;
class WindowLayoutWriter;
struct KeyHelp;

// The windows the main window opens: each is made at its first opening and kept, so that it
// comes back as it was left; opening one that is open brings it to the front. An editor window
// (and the README) opens where the last run left it, else beside the main window, on the screen.
class EditorWindows {
public:
    // `writer` follows each window as it is made.
    EditorWindows(const EditorContext& context, const WindowLayout& layout, WindowLayoutWriter& writer)
        : ctx_(context), layout_(layout), writer_(writer)
    {
    }

    // Modeless: the main window follows their edits as they are made.
    void openPalette();
    void openBackground();
    void openSprites();
    // Not opened when some text cannot be read; one open already keeps its edits.
    void openTexts();
    // The resize dialog for the map (0), the items (1) or the enemies (2).
    void openResize(int editType);
    // Modal to the main window; OK or Cancel closes it.
    void openOptions();
    // The table of every window's keys, with `viewKeys` the views read themselves.
    void openShortcuts(const QList<KeyHelp>& viewKeys);
    // The README `file` in a window of its own; a file that cannot be shown is reported.
    void openReadme(const QString& file);

    // Edits the Text Editor holds and the document does not have yet: stored, dropped, or
    // (false) the user stays.
    bool settleTextEdits();
    void closeAll();
    // The windows made in this run whose places are kept: the editors and the README.
    QList<QWidget*> made() const;

private:
    // An editor window, where the last run left it or beside the main window.
    template <class Window> Window* makeEditor();
    // `window` where the last run left it, else beside the main window, clear of the others.
    void place(QWidget& window) const;
    template <class Window> void showEditor(Window*& window);

    EditorContext ctx_;
    const WindowLayout& layout_;
    WindowLayoutWriter& writer_;
    frmOptions* options_ = nullptr;
    frmPalEdit* palEdit_ = nullptr;
    frmBkgEdit* bkgEdit_ = nullptr;
    frmSprEdit* sprEdit_ = nullptr;
    frmRomExpansion* romExpansion_ = nullptr;
    frmTextEdit* textEdit_ = nullptr;
    frmShortcuts* shortcuts_ = nullptr;
    frmReadme* readme_ = nullptr;
};

}  // namespace velmar
