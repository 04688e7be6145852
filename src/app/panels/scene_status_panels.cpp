#include "panels/scene_status_panels.h"

#include <QLabel>
#include <QStatusBar>

#include "editor_document.h"
#include "mapview/map_view_rules.h"
#include "qt_bridge.h"

namespace velmar {

SceneStatusPanels::SceneStatusPanels(QStatusBar& bar, const EditorDocument& document)
    : QObject(&bar), bar_(bar), document_(document)
{
    connect(&document_, &EditorDocument::changed, this, [this](const DocumentEvent& event) {
        if (event.kind != DocumentEvent::Kind::Saved)
            refresh();
    });
}

void SceneStatusPanels::refresh()
{
    if (!document_.doc().hasScene()) {
        for (QLabel* old : panels_) {
            bar_.removeWidget(old);
            delete old;
        }
        panels_.clear();
        return;
    }
    // Made once, then they only take new texts.
    const auto texts = statusPanels(document_.doc().currentScene());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const StatusPanel& panel = texts[i];
        if (i >= panels_.size()) {
            auto* l = new QLabel(&bar_);
            l->setObjectName(qs(panel.key));
            l->setFrameShape(QFrame::StyledPanel);
            bar_.addWidget(l);
            panels_.push_back(l);
        }
        panels_[i]->setText(qs(panel.text));
        panels_[i]->setAccessibleName(qs(panel.text));
    }
}

}  // namespace velmar
