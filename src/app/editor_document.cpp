#include "editor_document.h"

namespace velmar {

EditorDocument::EditorDocument(QObject* parent) : QObject(parent)
{
    doc_.setListener([this](const DocumentEvent& event) { emit changed(event); });
}

}  // namespace velmar
