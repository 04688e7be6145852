// The main window's stage and scene properties panel: the boxes show the current scene, and what
// the user enters goes to the document as one step per value.
#include <string>

#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "frm_main.h"
#include "panels/properties_panel.h"
#include "qt_bridge.h"
#include "base/hex.h"

namespace velmar {

using edits::SceneProperty;

namespace {

// What the status bar calls a box when it refuses what was typed into it.
const char* propertyField(SceneProperty property)
{
    switch (property) {
    case SceneProperty::Time: return "Time";
    case SceneProperty::Indicator: return "Indicator";
    case SceneProperty::Reload: return "Reload";
    case SceneProperty::SprBank: return "SPR bank";
    case SceneProperty::BkgBank: return "BKG bank";
    case SceneProperty::Direction: break;
    }
    return "The value";
}

// Long enough to read; the status bar is not a place to keep a refusal for good.
constexpr int kRefusalShownMs = 10000;

}  // namespace

void frmMain::buildPropertiesPanel()
{
    auto* layout = new QVBoxLayout(propertiesPlace);
    layout->setContentsMargins(0, 0, 0, 0);
    propertiesPanel = new PropertiesPanel(propertiesPlace);
    layout->addWidget(propertiesPanel);
    PropertiesPanel* p = propertiesPanel;
    fraStageProperties = p->fraStageProperties;
    txtBKGbank = p->txtBKGbank;
    txtTime = p->txtTime;
    txtIndicator = p->txtIndicator;
    txtReload = p->txtReload;
    txtBKGPal = p->txtBKGPal;
    fraSceneProperties = p->fraSceneProperties;
    opt_Direction = p->opt_Direction;
    txtSPRbank = p->txtSPRbank;
    txtLen = p->txtLen;
    txtStartX = p->txtStartX;
    txtStartY = p->txtStartY;
    txtEnemyC = p->txtEnemyC;
    txtItemC = p->txtItemC;
    txtSPRPal = p->txtSPRPal;

    // textEdited comes from typing only, never from the panel's own filling; editingFinished
    // comes with Enter and with the loss of the focus after typing.
    propertiesLink_ = std::make_unique<QObject>();
    const QObject* link = propertiesLink_.get();
    const auto lostFocus = [&](QLineEdit* box, void (frmMain::*slot)()) {
        connect(box, &QLineEdit::editingFinished, link, [this, slot] { (this->*slot)(); });
    };
    const auto typed = [&](QLineEdit* box, void (frmMain::*slot)()) {
        connect(box, &QLineEdit::textEdited, link, [this, slot] { (this->*slot)(); });
    };
    lostFocus(txtTime, &frmMain::txtTime_LostFocus);
    lostFocus(txtIndicator, &frmMain::txtIndicator_LostFocus);
    lostFocus(txtReload, &frmMain::txtReload_LostFocus);
    lostFocus(txtBKGbank, &frmMain::txtBKGbank_LostFocus);
    typed(txtBKGbank, &frmMain::txtBKGbank_Change);
    lostFocus(txtSPRbank, &frmMain::txtSPRbank_LostFocus);
    typed(txtSPRbank, &frmMain::txtSPRbank_Change);
    for (int i = 0; i < 4; ++i) {
        const auto at = static_cast<std::size_t>(i);
        connect(txtBKGPal[at], &QLineEdit::editingFinished, link, [this, i] { txtBKGPal_LostFocus(i); });
        connect(txtBKGPal[at], &QLineEdit::textEdited, link, [this, i] { txtBKGPal_Change(i); });
        connect(txtSPRPal[at], &QLineEdit::editingFinished, link, [this, i] { txtSPRPal_LostFocus(i); });
        connect(txtSPRPal[at], &QLineEdit::textEdited, link, [this, i] { txtSPRPal_Change(i); });
    }
    for (int i = 0; i < 2; ++i)
        connect(opt_Direction[static_cast<std::size_t>(i)], &QRadioButton::clicked, link,
                [this, i] { opt_Direction_Click(i); });
}

void frmMain::refreshPropertyPanel()
{
    if (propertiesPanel && doc().hasScene())
        propertiesPanel->showScene(doc().currentScene());
}

bool frmMain::propertyEntryAllowed() const
{
    // A box can lose the focus while a file is closed or replaced, or before any scene is
    // shown: there is no scene to give the value to then.
    return propertiesPanel && !propertiesPanel->filling() && doc().hasScene();
}

std::optional<std::uint8_t> frmMain::takePropertyBox(QLineEdit* box, std::string_view field, std::uint8_t max)
{
    const HexByte typed = readHexByte(ss(box->text()), field, max);
    if (!typed.ok()) {
        // Showing the scene's value again leaves nothing to take when the box loses the focus
        // after Enter: one refusal, one message.
        refreshPropertyPanel();
        mainStatusBar->showMessage(qs(typed.reason), kRefusalShownMs);
        return std::nullopt;
    }
    box->setText(qs(hexPad(typed.value, 2)));
    return typed.value;
}

void frmMain::commitSceneProperty(QLineEdit* box, SceneProperty property)
{
    if (!propertyEntryAllowed())
        return;
    if (const auto value = takePropertyBox(box, propertyField(property), edits::scenePropertyMax(property)))
        propertyEditDone(edits::setSceneProperty(document_->doc(), property, *value));
}

void frmMain::commitPaletteSelector(QLineEdit* box, int index)
{
    if (!propertyEntryAllowed())
        return;
    const std::string field = (index < 4 ? "BKG palette " : "SPR palette ") + std::to_string(index % 4);
    if (const auto value = takePropertyBox(box, field, 0xFF))
        propertyEditDone(edits::setPaletteSelector(document_->doc(), index, *value));
}

void frmMain::propertyEditDone(const Outcome<EditResult>& result)
{
    // The window redraws from the document's notification; an unchanged value is no fault.
    if (result.ok())
        return;
    // The box shows the scene's value again before the message box takes the focus from it, so
    // that losing the focus finds nothing left to commit.
    refreshPropertyPanel();
    if (!result.reason.empty())
        dialogs_.message(qs(result.reason), Dialogs::Icon::Exclamation);
}

void frmMain::txtTime_LostFocus() { commitSceneProperty(txtTime, SceneProperty::Time); }
void frmMain::txtIndicator_LostFocus() { commitSceneProperty(txtIndicator, SceneProperty::Indicator); }
void frmMain::txtReload_LostFocus() { commitSceneProperty(txtReload, SceneProperty::Reload); }
void frmMain::txtBKGbank_LostFocus() { commitSceneProperty(txtBKGbank, SceneProperty::BkgBank); }
void frmMain::txtSPRbank_LostFocus() { commitSceneProperty(txtSPRbank, SceneProperty::SprBank); }

void frmMain::txtBKGbank_Change()
{
    if (txtBKGbank->text().size() == 2)
        commitSceneProperty(txtBKGbank, SceneProperty::BkgBank);
}

void frmMain::txtSPRbank_Change()
{
    if (txtSPRbank->text().size() == 2)
        commitSceneProperty(txtSPRbank, SceneProperty::SprBank);
}

void frmMain::txtBKGPal_LostFocus(int index)
{
    commitPaletteSelector(txtBKGPal[static_cast<std::size_t>(index)], index);
}

void frmMain::txtBKGPal_Change(int index)
{
    QLineEdit* box = txtBKGPal[static_cast<std::size_t>(index)];
    if (box->text().size() == 2)
        commitPaletteSelector(box, index);
}

// The sprite sub-palettes' selectors follow the four background ones.
void frmMain::txtSPRPal_LostFocus(int index)
{
    commitPaletteSelector(txtSPRPal[static_cast<std::size_t>(index)], 4 + index);
}

void frmMain::txtSPRPal_Change(int index)
{
    QLineEdit* box = txtSPRPal[static_cast<std::size_t>(index)];
    if (box->text().size() == 2)
        commitPaletteSelector(box, 4 + index);
}

void frmMain::opt_Direction_Click(int index)
{
    if (propertyEntryAllowed())
        propertyEditDone(edits::setSceneProperty(document_->doc(), SceneProperty::Direction, index ? 0x80 : 0));
}

}  // namespace velmar
