#pragma once

#include <QObject>

#include "editor/document.h"

namespace velmar {

// The open document as the windows share it: every window changes it through the core's edit
// functions (edits::placeMetatile(document.doc(), ...), Document::undo, ...) and learns of every
// change, its own and the others', from changed().
class EditorDocument : public QObject {
    Q_OBJECT
public:
    explicit EditorDocument(QObject* parent = nullptr);

    Document& doc() { return doc_; }
    const Document& doc() const { return doc_; }

signals:
    void changed(const velmar::DocumentEvent& event);

private:
    Document doc_;
};

}  // namespace velmar
