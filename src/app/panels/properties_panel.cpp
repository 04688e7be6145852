#include "panels/properties_panel.h"

#include <algorithm>
#include <cctype>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include "dialogs.h"
#include "editor_document.h"
#include "qt_bridge.h"
#include "base/hex.h"
#include "rom/scene_codec.h"
#include "rom/scene_record.h"

namespace velmar {

namespace {

// Every box holds one byte as two hexadecimal digits.
QLineEdit* newBox(QWidget* parent, const QString& name, const QString& tip, bool readOnly)
{
    auto* box = new QLineEdit("00", parent);
    box->setObjectName(name);
    box->setToolTip(tip);
    box->setAccessibleName(tip);
    box->setAlignment(Qt::AlignCenter);
    box->setMaxLength(2);
    box->setReadOnly(readOnly);
    // A box that only shows a value is passed over by Tab; a click still selects its text.
    if (readOnly)
        box->setFocusPolicy(Qt::ClickFocus);
    // Two of the widest digits, the frame and Qt's text margins.
    box->setFixedWidth(box->fontMetrics().horizontalAdvance("DD") + 12);
    return box;
}

QLabel* newLabel(QWidget* parent, const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    label->setAccessibleName(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(buddy);
    return label;
}

QGroupBox* newFrame(QWidget* parent, const char* name, const QString& caption)
{
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    frame->setAccessibleName(caption);
    return frame;
}

// The column is narrow: tight margins and spacing.
QGridLayout* newGrid(QGroupBox* frame)
{
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    return grid;
}

// A label and, across the other columns, a row of boxes.
void addRow(QGridLayout* grid, int row, QLabel* label, std::initializer_list<QWidget*> widgets)
{
    grid->addWidget(label, row, 0);
    auto* line = new QHBoxLayout;
    line->setSpacing(3);
    for (QWidget* w : widgets)
        line->addWidget(w);
    line->addStretch();
    grid->addLayout(line, row, 1, 1, -1);
}

void setBox(QLineEdit* box, std::uint8_t value) { box->setText(qs(hexPad(value, 2))); }

// Long enough to read; the status bar is not a place to keep a refusal or a warning for good.
constexpr int kRefusalShownMs = 10000;

// Map cells, graphics and texts leave the properties as they are.
constexpr Parts kLeftAlone = part::Map | part::Sprites | part::Patterns | part::Metatiles | part::Texts;

}  // namespace

PropertiesPanel::PropertiesPanel(EditorDocument& document, Dialogs& dialogs, StatusLine showStatus, QWidget* parent)
    : QWidget(parent), document_(document), dialogs_(dialogs), showStatus_(std::move(showStatus)),
      link_(std::make_unique<QObject>())
{
    setObjectName("propertiesPanel");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(4);

    fraStageProperties = newFrame(this, "fraStageProperties", "Stage Properties");
    auto* stage = newGrid(fraStageProperties);
    QWidget* f = fraStageProperties;
    txtBKGbank = newBox(f, "txtBKGbank", "BKG Bank Index", false);
    txtTime = newBox(f, "txtTime", "Time Limit", false);
    txtIndicator = newBox(f, "txtIndicator", "Stage Indicator", false);
    txtReload = newBox(f, "txtReload", "Gameover reload", false);
    for (int i = 0; i < 4; ++i)
        txtBKGPal[static_cast<std::size_t>(i)] =
            newBox(f, QString("txtBKGPal_%1").arg(i), QString("BKG palette %1").arg(i), false);
    stage->addWidget(newLabel(f, "BKG:", txtBKGbank), 0, 0);
    stage->addWidget(txtBKGbank, 0, 1);
    stage->addWidget(newLabel(f, "Time:", txtTime), 0, 2);
    stage->addWidget(txtTime, 0, 3);
    stage->addWidget(newLabel(f, "Ind:", txtIndicator), 1, 0);
    stage->addWidget(txtIndicator, 1, 1);
    stage->addWidget(newLabel(f, "Reload:", txtReload), 1, 2);
    stage->addWidget(txtReload, 1, 3);
    addRow(stage, 2, newLabel(f, "BKG:", txtBKGPal[0]), {txtBKGPal[0], txtBKGPal[1], txtBKGPal[2], txtBKGPal[3]});
    stage->setColumnStretch(4, 1);
    outer->addWidget(fraStageProperties);

    fraSceneProperties = newFrame(this, "fraSceneProperties", "Scene Properties");
    auto* scene = newGrid(fraSceneProperties);
    f = fraSceneProperties;
    const char* captions[2] = {"->", "<-"};
    const char* names[2] = {"Direction left to right", "Direction right to left"};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(captions[i], f);
        option->setObjectName(QString("opt_Direction_%1").arg(i));
        option->setAccessibleName(names[i]);
        option->setToolTip(names[i]);
        opt_Direction[static_cast<std::size_t>(i)] = option;
    }
    opt_Direction[0]->setChecked(true);
    txtSPRbank = newBox(f, "txtSPRbank", "SPR Bank Index", false);
    txtLen = newBox(f, "txtLen", "Length", true);
    txtStartX = newBox(f, "txtStartX", "Start X", false);
    txtStartY = newBox(f, "txtStartY", "Start Y", false);
    txtEnemyC = newBox(f, "txtEnemyC", "Enemy Count", true);
    txtItemC = newBox(f, "txtItemC", "Item Count", true);
    for (int i = 0; i < 4; ++i)
        txtSPRPal[static_cast<std::size_t>(i)] =
            newBox(f, QString("txtSPRPal_%1").arg(i), QString("SPR palette %1").arg(i), false);

    auto* directions = new QHBoxLayout;
    directions->setSpacing(0);
    directions->addWidget(opt_Direction[0]);
    directions->addWidget(opt_Direction[1]);
    directions->addStretch();
    scene->addWidget(newLabel(f, "Dir", opt_Direction[0]), 0, 0);
    scene->addLayout(directions, 0, 1, 1, 3);
    scene->addWidget(newLabel(f, "SPR:", txtSPRbank), 0, 4);
    scene->addWidget(txtSPRbank, 0, 5);
    scene->addWidget(newLabel(f, "Len:", txtLen), 1, 0);
    scene->addWidget(txtLen, 1, 1);
    scene->addWidget(newLabel(f, "X:", txtStartX), 1, 2);
    scene->addWidget(txtStartX, 1, 3);
    scene->addWidget(newLabel(f, "Y:", txtStartY), 1, 4);
    scene->addWidget(txtStartY, 1, 5);
    scene->addWidget(newLabel(f, "Enemy:", txtEnemyC), 2, 0);
    scene->addWidget(txtEnemyC, 2, 1);
    scene->addWidget(newLabel(f, "Item:", txtItemC), 2, 2);
    scene->addWidget(txtItemC, 2, 3);
    addRow(scene, 3, newLabel(f, "SPR:", txtSPRPal[0]), {txtSPRPal[0], txtSPRPal[1], txtSPRPal[2], txtSPRPal[3]});
    scene->setColumnStretch(6, 1);
    outer->addWidget(fraSceneProperties);

    boxes_ = {{txtBKGbank, SceneProperty::BkgBank},
              {txtTime, SceneProperty::Time},
              {txtIndicator, SceneProperty::Indicator},
              {txtReload, SceneProperty::Reload},
              {txtSPRbank, SceneProperty::SprBank}};
    for (int i = 0; i < 4; ++i) {
        boxes_.emplace_back(txtBKGPal[static_cast<std::size_t>(i)], paletteSelectorProperty(i));
        boxes_.emplace_back(txtSPRPal[static_cast<std::size_t>(i)], paletteSelectorProperty(4 + i));
    }
    connectControls();
    connect(&document_, &EditorDocument::changed, this, &PropertiesPanel::document_Changed);
}

PropertiesPanel::~PropertiesPanel() = default;

void PropertiesPanel::connectControls()
{
    // textEdited comes from typing only, never from the panel's own filling; editingFinished
    // comes with Enter and with the loss of the focus after typing.
    const QObject* link = link_.get();
    const auto lostFocus = [&](QLineEdit* box, void (PropertiesPanel::*slot)()) {
        connect(box, &QLineEdit::editingFinished, link, [this, slot] { (this->*slot)(); });
    };
    const auto typed = [&](QLineEdit* box, void (PropertiesPanel::*slot)()) {
        connect(box, &QLineEdit::textEdited, link, [this, slot] { (this->*slot)(); });
    };
    lostFocus(txtTime, &PropertiesPanel::txtTime_LostFocus);
    lostFocus(txtIndicator, &PropertiesPanel::txtIndicator_LostFocus);
    lostFocus(txtReload, &PropertiesPanel::txtReload_LostFocus);
    lostFocus(txtBKGbank, &PropertiesPanel::txtBKGbank_LostFocus);
    typed(txtBKGbank, &PropertiesPanel::txtBKGbank_Change);
    lostFocus(txtSPRbank, &PropertiesPanel::txtSPRbank_LostFocus);
    lostFocus(txtStartX, &PropertiesPanel::txtStart_LostFocus);
    lostFocus(txtStartY, &PropertiesPanel::txtStart_LostFocus);
    typed(txtSPRbank, &PropertiesPanel::txtSPRbank_Change);
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

void PropertiesPanel::document_Changed(const DocumentEvent& event)
{
    if (event.kind == DocumentEvent::Kind::Saved)
        return;
    if (!document_.doc().hasScene())
        clear();
    else if (event.kind == DocumentEvent::Kind::SceneSelected || event.sceneSwitched || (event.parts & ~kLeftAlone))
        refresh();
}

void PropertiesPanel::refresh()
{
    if (document_.doc().hasScene())
        showScene(document_.doc().currentScene());
}

void PropertiesPanel::showScene(const SceneRecord& scene)
{
    const QScopedValueRollback<bool> filling(filling_, true);
    setBox(txtLen, scene.length);
    setBox(txtStartX, scene.startX);
    setBox(txtStartY, scene.startY);
    setBox(txtEnemyC, scene.enemyCount);
    setBox(txtItemC, scene.itemCount);
    for (const auto& [box, property] : boxes_)
        setBox(box, propertyValue(scene, sceneProperty(property)));
    opt_Direction[propertyValue(scene, sceneProperty(SceneProperty::Direction)) ? 1 : 0]->setChecked(true);
    // What each selector picks, beside it: a value past its table's palettes reads other bytes.
    for (std::size_t k = 0; k < 8; ++k) {
        QLineEdit* box = k < 4 ? txtBKGPal[k] : txtSPRPal[k - 4];
        box->setToolTip(qs(paletteSelectorMeaning(static_cast<int>(k), scene.palSelectors[k])));
    }
}

QLineEdit* PropertiesPanel::box(SceneProperty property) const
{
    const auto it = std::find_if(boxes_.begin(), boxes_.end(), [&](const auto& b) { return b.second == property; });
    return it == boxes_.end() ? nullptr : it->first;
}

void PropertiesPanel::clear()
{
    const QScopedValueRollback<bool> filling(filling_, true);
    for (QLineEdit* box : findChildren<QLineEdit*>())
        box->clear();
    for (QRadioButton* option : opt_Direction) {
        // Neither direction: an exclusive group keeps one checked unless told not to.
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
}

// --- Entries ---

bool PropertiesPanel::entryAllowed() const
{
    // A box can lose the focus while a file is closed or replaced, or before any scene is
    // shown: there is no scene to give the value to then.
    return !filling_ && document_.doc().hasScene();
}

std::optional<std::uint8_t> PropertiesPanel::takeBox(QLineEdit* box, std::string_view field, std::uint8_t max)
{
    const HexByte typed = readHexByte(ss(box->text()), field, max);
    if (!typed.ok()) {
        // Showing the scene's value again leaves nothing to take when the box loses the focus
        // after Enter: one refusal, one message.
        refresh();
        showStatus_(qs(typed.reason), kRefusalShownMs);
        return std::nullopt;
    }
    box->setText(qs(hexPad(typed.value, 2)));
    return typed.value;
}

std::optional<std::uint8_t> PropertiesPanel::commitSceneProperty(QLineEdit* box, SceneProperty property)
{
    if (!entryAllowed())
        return std::nullopt;
    // The status bar's refusal begins with what the box holds: "Time takes two ...".
    const ScenePropertyRow& row = sceneProperty(property);
    std::string field = row.label;
    field[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(field[0])));
    const std::optional<std::uint8_t> value = takeBox(box, field, row.max);
    if (value)
        editDone(edits::setSceneProperty(document_.doc(), property, *value));
    return value;
}

void PropertiesPanel::commitPaletteSelector(QLineEdit* box, int index)
{
    const std::optional<std::uint8_t> value = commitSceneProperty(box, paletteSelectorProperty(index));
    // Taken as typed, but said: such a selector colours the scene with bytes that are no palette.
    if (value && *value >= kSelectablePalettes)
        showStatus_(qs(paletteSelectorMeaning(index, *value)), kRefusalShownMs);
}

void PropertiesPanel::editDone(const Outcome<EditResult>& result)
{
    // The panel redraws from the document's notification; an unchanged value is no fault.
    if (result.code == EditResult::Recorded || result.code == EditResult::NoChange)
        return;
    // The box shows the scene's value again before the message box takes the focus from it, so
    // that losing the focus finds nothing left to commit.
    refresh();
    if (!result.reason.empty())
        dialogs_.message(qs(result.reason), Dialogs::Icon::Exclamation);
}

void PropertiesPanel::txtTime_LostFocus() { commitSceneProperty(txtTime, SceneProperty::Time); }
void PropertiesPanel::txtIndicator_LostFocus() { commitSceneProperty(txtIndicator, SceneProperty::Indicator); }
void PropertiesPanel::txtReload_LostFocus() { commitSceneProperty(txtReload, SceneProperty::Reload); }
void PropertiesPanel::txtBKGbank_LostFocus() { commitSceneProperty(txtBKGbank, SceneProperty::BkgBank); }
void PropertiesPanel::txtSPRbank_LostFocus() { commitSceneProperty(txtSPRbank, SceneProperty::SprBank); }

void PropertiesPanel::txtStart_LostFocus()
{
    if (!entryAllowed())
        return;
    const SceneRecord& s = document_.doc().currentScene();
    // Each box as the player start's drag keeps it: a byte; the other stays as it is.
    const auto x = takeBox(txtStartX, "Start X", 0xFF);
    const auto y = x ? takeBox(txtStartY, "Start Y", 0xFF) : std::nullopt;
    if (x && y && (*x != s.startX || *y != s.startY))
        editDone(edits::moveStart(document_.doc(), *x, *y));
}

void PropertiesPanel::txtBKGbank_Change()
{
    if (txtBKGbank->text().size() == 2)
        commitSceneProperty(txtBKGbank, SceneProperty::BkgBank);
}

void PropertiesPanel::txtSPRbank_Change()
{
    if (txtSPRbank->text().size() == 2)
        commitSceneProperty(txtSPRbank, SceneProperty::SprBank);
}

void PropertiesPanel::txtBKGPal_LostFocus(int index)
{
    commitPaletteSelector(txtBKGPal[static_cast<std::size_t>(index)], index);
}

void PropertiesPanel::txtBKGPal_Change(int index)
{
    QLineEdit* box = txtBKGPal[static_cast<std::size_t>(index)];
    if (box->text().size() == 2)
        commitPaletteSelector(box, index);
}

// The sprite sub-palettes' selectors follow the four background ones.
void PropertiesPanel::txtSPRPal_LostFocus(int index)
{
    commitPaletteSelector(txtSPRPal[static_cast<std::size_t>(index)], 4 + index);
}

void PropertiesPanel::txtSPRPal_Change(int index)
{
    QLineEdit* box = txtSPRPal[static_cast<std::size_t>(index)];
    if (box->text().size() == 2)
        commitPaletteSelector(box, 4 + index);
}

void PropertiesPanel::opt_Direction_Click(int index)
{
    if (entryAllowed())
        editDone(edits::setSceneProperty(document_.doc(), SceneProperty::Direction, index ? 0x80 : 0));
}

}  // namespace velmar
