// The main window's actors and properties panels, which do their own work.
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

#include "frm_main.h"
#include "panels/status_messages.h"
#include "mapview/map_view_rules.h"
#include "qt_bridge.h"
#include "base/hex.h"
#include "widgets/bitmap_view.h"

namespace velmar {

namespace {

// Fills `place` with `panel` alone.
template <class Panel> Panel* placePanel(QWidget* place, Panel* panel)
{
    auto* layout = new QVBoxLayout(place);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);
    return panel;
}

}  // namespace

void frmMain::buildActorLists()
{
    ActorsContext context{*document_,
                          dialogs_,
                          workspace_,
                          *mapView,
                          *actorSelection_,
                          [this] { return editMode_; },
                          [this](EditMode mode) { applyEditMode(mode); },
                          [this](const QString& text) { statusMessages_->refuse(text); }};
    actorLists = placePanel(actorListsPlace, new ActorsPanel(std::move(context), actorListsPlace));
}

void frmMain::buildPropertiesPanel()
{
    const auto status = [this](const QString& text, int ms) { statusMessages_->refuse(text, ms); };
    propertiesPanel = placePanel(propertiesPlace, new PropertiesPanel(*document_, dialogs_, status, propertiesPlace));
    propertiesOwner_.reset(propertiesPanel);
}

}  // namespace velmar
