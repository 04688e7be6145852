#pragma once

#include <memory>

#include <QString>

#include "dialogs.h"
#include "editor/workspace.h"
#include "editor_document.h"

class QWidget;

namespace velmar {

// What an editor window asks of the window that opened it, beyond the document (whose changed()
// event every window redraws from): whether the program is on its way out, the word after a
// change that worked, and that a setting changed.
class EditorHost {
public:
    // True once the program is closing: windows closing with it store nothing and ask nothing.
    virtual bool exiting() const = 0;
    // A load, save or resize that worked: a message box, or with the option off the status bar
    // for five seconds. Failures are always message boxes.
    virtual void reportSuccess(const QString& text) = 0;
    // A setting changed (Options' OK, a file opened): it is written at once, so that a crash
    // loses nothing.
    virtual void settingsChanged() = 0;

protected:
    ~EditorHost() = default;
};

// All an editor window or dialog is given: the window it belongs to, the shared document, the
// dialogs every message goes through, the workspace (settings, character table, name lists),
// and its host. Copied freely: it only refers to them (and shares the dialogs `over` made).
class EditorContext {
public:
    EditorContext(QWidget& window, EditorDocument& document, Dialogs& dialogs, Workspace& workspace, EditorHost& host)
        : window_(&window), document_(&document), dialogs_(&dialogs), workspace_(&workspace), host_(&host)
    {
    }

    // The parent of the editor windows: they close and go with it.
    QWidget& window() const { return *window_; }
    EditorDocument& document() const { return *document_; }
    const Document& doc() const { return document_->doc(); }
    Dialogs& dialogs() const { return *dialogs_; }
    Workspace& workspace() const { return *workspace_; }
    // The same context for the window `asking`: its dialogs open over it, which gets the focus
    // back when they close.
    EditorContext over(QWidget& asking) const
    {
        EditorContext c(*this);
        c.ownDialogs_ = dialogs_->over(asking);
        c.dialogs_ = c.ownDialogs_.get();
        return c;
    }

    bool exiting() const { return host_->exiting(); }
    void reportSuccess(const QString& text) const { host_->reportSuccess(text); }
    void settingsChanged() const { host_->settingsChanged(); }

private:
    QWidget* window_;
    EditorDocument* document_;
    Dialogs* dialogs_;
    Workspace* workspace_;
    EditorHost* host_;
    std::shared_ptr<Dialogs> ownDialogs_;
};

}  // namespace velmar
