#pragma once

#include <vector>

#include <QObject>

class QLabel;
class QStatusBar;

namespace velmar {

class EditorDocument;

// The status bar's seven panels of the current scene's table addresses ("Map: $8A10"); without
// a scene there are none. They follow the document's changes.
class SceneStatusPanels : public QObject {
    Q_OBJECT
public:
    SceneStatusPanels(QStatusBar& bar, const EditorDocument& document);

private:
    void refresh();

    QStatusBar& bar_;
    const EditorDocument& document_;
    std::vector<QLabel*> panels_;
};

}  // namespace velmar
