#include "windows/editor_windows.h"

#include <QDir>
#include <QScreen>
#include <QWidget>

#include "session/window_layout.h"

#include "windows/frm_bkg_edit.h"
#include "windows/frm_options.h"
#include "windows/frm_pal_edit.h"
#include "windows/frm_readme.h"
#include "windows/frm_rom_expansion.h"
#include "windows/frm_shortcuts.h"
#include "windows/frm_spr_edit.h"
#include "windows/frm_text_edit.h"
#include "windows/window_placement.h"

namespace velmar {

namespace {

// Makes `window` with `make` the first time; `fill` readies it from the document (false: it
// stays shut); then it is shown in front, with the focus.
template <class Window, class Make, class Fill> void showWindow(Window*& window, Make make, Fill fill)
{
    if (!window)
        window = make();
    if (!fill(*window))
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

template <class Window> Window* EditorWindows::makeEditor()
{
    auto* window = new Window(ctx_);
    place(*window);
    return window;
}

void EditorWindows::place(QWidget& window) const
{
    writer_.watch(window);
    if (layout_.restoreWindow(window))
        return;
    placeBeside(window, ctx_.window());
    // Opened where another window stands, it leaves that one's title bar in view where the
    // screen has room.
    for (const QWidget* other : made()) {
        // Its frame is not known before it is shown: the other's stands in for it.
        const QRect inner = other->geometry(), outer = other->frameGeometry();
        const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                             outer.bottom() - inner.bottom());
        const QRect lower = window.geometry().translated(0, frame.top());
        if (other != &window && other->isVisible() && inner.top() == window.geometry().top()
            && window.screen()->availableGeometry().contains(lower.marginsAdded(frame)))
            window.setGeometry(lower);
    }
}

// The window's own initGUI() is all its filling.
template <class Window> void EditorWindows::showEditor(Window*& window)
{
    showWindow(
        window, [this] { return makeEditor<Window>(); },
        [](Window& w) {
            w.initGUI();
            return true;
        });
}

void EditorWindows::openPalette() { showEditor(palEdit_); }
void EditorWindows::openBackground() { showEditor(bkgEdit_); }
void EditorWindows::openSprites() { showEditor(sprEdit_); }

void EditorWindows::openTexts()
{
    showWindow(
        textEdit_, [this] { return makeEditor<frmTextEdit>(); },
        [](frmTextEdit& t) { return t.isVisible() || t.initGUI(); });
}

void EditorWindows::openResize(int editType)
{
    showWindow(
        romExpansion_, [this] { return new frmRomExpansion(ctx_); },
        [editType](frmRomExpansion& d) {
            d.initGUI(editType);
            return true;
        });
}

void EditorWindows::openOptions()
{
    const auto make = [this] {
        auto* options = new frmOptions(ctx_.workspace().settings, &ctx_.window());
        options->setWindowModality(Qt::WindowModal);
        QObject::connect(options, &QDialog::accepted, options, [this] { ctx_.settingsChanged(); });
        return options;
    };
    showWindow(options_, make, [](frmOptions& o) {
        o.initGUI();
        return true;
    });
}

void EditorWindows::openShortcuts(const QList<KeyHelp>& viewKeys)
{
    showWindow(
        shortcuts_, [this] { return new frmShortcuts(&ctx_.window()); },
        [&](frmShortcuts& s) {
            // The editor windows are the main window's children; the table is made from the actions
            // of all.
            QList<QWidget*> windows{&ctx_.window()};
            for (QWidget* w : ctx_.window().findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (w->isWindow() && w != &s)
                    windows << w;
            }
            s.initGUI(windows, viewKeys);
            return true;
        });
}

void EditorWindows::openReadme(const QString& file)
{
    showWindow(
        readme_,
        [this] {
            auto* readme = new frmReadme(&ctx_.window());
            place(*readme);
            return readme;
        },
        [&](frmReadme& r) {
            QString reason;
            if (r.initGUI(file, reason))
                return true;
            ctx_.dialogs().message(reason + (file.isEmpty() ? QString(".") : ":\n" + QDir::toNativeSeparators(file)),
                                   Dialogs::Icon::Exclamation);
            return false;
        });
}

QList<QWidget*> EditorWindows::made() const
{
    QList<QWidget*> windows;
    for (QWidget* w : std::initializer_list<QWidget*>{palEdit_, bkgEdit_, sprEdit_, textEdit_, readme_}) {
        if (w)
            windows << w;
    }
    return windows;
}

bool EditorWindows::settleTextEdits() { return !textEdit_ || textEdit_->settleEdits(); }

void EditorWindows::closeAll()
{
    for (QWidget* w :
         std::initializer_list<QWidget*>{options_, palEdit_, bkgEdit_, sprEdit_, textEdit_, shortcuts_, readme_}) {
        if (w)
            w->close();
    }
}

}  // namespace velmar
