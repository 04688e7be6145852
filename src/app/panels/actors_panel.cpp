#include "panels/actors_panel.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "map/actor_drag_tool.h"
#include "dialogs.h"
#include "edit_failure.h"
#include "editor/edits.h"
#include "editor/workspace.h"
#include "editor_document.h"
#include "mapview/map_view_rules.h"
#include "panels/map_view_panel.h"
#include "qt_bridge.h"
#include "widgets/bitmap_view.h"

namespace velmar {

namespace {

// A read-only box; `prompt` names the value typed into the prompt that Enter or a double-click
// opens, and such a box stays in the Tab order. The others are passed over by Tab; a click still
// selects their text for copying.
QLineEdit* positionBox(QWidget* parent, const char* name, const QString& shows, int characters,
                       const QString& prompt = QString())
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setToolTip(prompt.isEmpty() ? shows : shows + ": press Enter or double-click to type a new " + prompt);
    box->setAccessibleName(shows);
    box->setReadOnly(true);
    if (prompt.isEmpty())
        box->setFocusPolicy(Qt::ClickFocus);
    box->setMaxLength(characters);
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(34);
    return box;
}

QListWidget* actorList(QWidget* parent, const char* name, const QString& tip)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setToolTip(tip);
    list->setAccessibleName(tip);
    QFont mono = list->font();
    mono.setFamily("monospace");
    mono.setStyleHint(QFont::TypeWriter);
    list->setFont(mono);
    list->setMinimumHeight(90);
    return list;
}

// A caption beside a box; a screen reader speaks the box's own name, the caption says it too.
QLabel* caption(QWidget* parent, const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    label->setAccessibleName(buddy->accessibleName());
    label->setBuddy(buddy);
    return label;
}

// Fills a type selector with its choices, unless it holds them already (the enemy names run to
// 256 entries, and every selection shows them), then shows `id`.
void showChoice(QComboBox* box, const std::vector<ActorChoice>& choices, std::uint8_t id)
{
    bool same = box->count() == static_cast<int>(choices.size());
    for (int i = 0; same && i < box->count(); ++i) {
        const ActorChoice& c = choices[static_cast<std::size_t>(i)];
        same = box->itemData(i).toInt() == c.id && box->itemText(i) == qs(c.text);
    }
    const QSignalBlocker block(box);
    if (!same) {
        box->clear();
        for (const ActorChoice& c : choices)
            box->addItem(qs(c.text), c.id);
    }
    box->setCurrentIndex(box->findData(id));
}

// What differs between the kinds in words: the typed position's name, the prompt's answer to
// nothing typed, and the names of the steps.
struct KindTexts {
    const char* field;
    const char* notMoved;
    const char* typedMove;
    const char* typeChange;
};
constexpr std::array<KindTexts, 2> kTexts{{
    {"Enemy B", "Enemy not moved!", "Move Enemy Base", "Change Enemy Type"},
    {"Item X", "Item not moved!", "Move Item", "Change Item Type"},
}};
const KindTexts& textsOf(ActorKind kind) { return kTexts[static_cast<std::size_t>(kind)]; }

constexpr std::array<ActorKind, 2> kKinds{ActorKind::Enemy, ActorKind::Item};

// Map cells, graphics and texts leave the lists, the boxes and the frame as they are.
constexpr Parts kLeftAlone = part::Map | part::Sprites | part::Patterns | part::Metatiles | part::Texts;

}  // namespace

ActorsPanel::ActorsPanel(ActorsContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context)),
      drags_(std::make_unique<ActorDragTool>(*this, context_.document, context_.dialogs, context_.map))
{
    setObjectName("actorLists");
    buildControls();
    sides_ = {Side{lstEnemyList, cmbEnemyList, {txtEnemyEdit_B, txtEnemyEdit_X, txtEnemyEdit_Y}},
              Side{lstItemList, cmbItemList, {txtItemEdit_X, txtItemEdit_Y}}};
    for (const ActorKind kind : kKinds) {
        const Side& s = side(kind);
        // A click chooses a line, also the line already chosen; the keyboard (or the focus
        // coming in with Tab, which makes the first line current) only moves the current line.
        connect(s.list, &QListWidget::itemClicked, this, [this, kind] { lineChosen(kind); });
        connect(s.list, &QListWidget::currentRowChanged, this, [this, kind] {
            if (QGuiApplication::mouseButtons() == Qt::NoButton)
                lineMoved(kind);
        });
        // Activated comes from the user's pick only, never from the panel's own filling.
        connect(s.type, &QComboBox::activated, this, [this, kind](int index) { typeChosen(kind, index); });
        s.boxes.front()->installEventFilter(this);
    }
    connect(&context_.document, &EditorDocument::changed, this, &ActorsPanel::document_Changed);
    MapViewPanel* map = &context_.map;
    connect(map, &MapViewPanel::markerPressed, this,
            [this](MapMarker marker, int index, QPoint point) { drags_->press(marker, index, point); });
    connect(map, &MapViewPanel::markerMoved, this,
            [this](MapMarker marker, int index, QPoint point) { drags_->move(marker, index, point); });
    connect(map, &MapViewPanel::markerReleased, this,
            [this](MapMarker marker, int index, QPoint point) { drags_->release(marker, index, point); });
}

ActorsPanel::~ActorsPanel() = default;

void ActorsPanel::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    lstEnemyList = actorList(this, "lstEnemyList", "Enemy List -> #: [ID] [B] [X] [Y]");
    layout->addWidget(lstEnemyList);
    fraEnemyEdit = new QGroupBox("Enemy Editor", this);
    fraEnemyEdit->setObjectName("fraEnemyEdit");
    fraEnemyEdit->setAccessibleName("Enemy Editor");
    auto* enemyGrid = new QGridLayout(fraEnemyEdit);
    txtEnemyEdit_B = positionBox(fraEnemyEdit, "txtEnemyEdit_B", "Enemy Base X", 2, "B value");
    txtEnemyEdit_X = positionBox(fraEnemyEdit, "txtEnemyEdit_X", "Enemy Screen X", 1);
    txtEnemyEdit_Y = positionBox(fraEnemyEdit, "txtEnemyEdit_Y", "Enemy Y", 1);
    enemyGrid->addWidget(caption(fraEnemyEdit, "B:", txtEnemyEdit_B), 0, 0);
    enemyGrid->addWidget(txtEnemyEdit_B, 0, 1);
    enemyGrid->addWidget(caption(fraEnemyEdit, "X:", txtEnemyEdit_X), 0, 2);
    enemyGrid->addWidget(txtEnemyEdit_X, 0, 3);
    enemyGrid->addWidget(caption(fraEnemyEdit, "Y:", txtEnemyEdit_Y), 0, 4);
    enemyGrid->addWidget(txtEnemyEdit_Y, 0, 5);
    cmbEnemyList = new QComboBox(fraEnemyEdit);
    cmbEnemyList->setObjectName("cmbEnemyList");
    cmbEnemyList->setAccessibleName("Enemy type");
    cmbEnemyList->setToolTip("Enemy type");
    enemyGrid->addWidget(cmbEnemyList, 1, 0, 1, 6);
    layout->addWidget(fraEnemyEdit);

    lstItemList = actorList(this, "lstItemList", "Item List -> #: [ID] [X] [Y]");
    layout->addWidget(lstItemList);
    fraItemEdit = new QGroupBox("Item Editor", this);
    fraItemEdit->setObjectName("fraItemEdit");
    fraItemEdit->setAccessibleName("Item Editor");
    auto* itemGrid = new QGridLayout(fraItemEdit);
    txtItemEdit_X = positionBox(fraItemEdit, "txtItemEdit_X", "Item X", 2, "X value");
    txtItemEdit_Y = positionBox(fraItemEdit, "txtItemEdit_Y", "Item Y", 2);
    itemGrid->addWidget(caption(fraItemEdit, "X:", txtItemEdit_X), 0, 0);
    itemGrid->addWidget(txtItemEdit_X, 0, 1);
    itemGrid->addWidget(caption(fraItemEdit, "Y:", txtItemEdit_Y), 0, 2);
    itemGrid->addWidget(txtItemEdit_Y, 0, 3);
    itemGrid->setColumnStretch(4, 1);
    cmbItemList = new QComboBox(fraItemEdit);
    cmbItemList->setObjectName("cmbItemList");
    cmbItemList->setAccessibleName("Item type");
    cmbItemList->setToolTip("Item type");
    itemGrid->addWidget(cmbItemList, 1, 0, 1, 5);
    layout->addWidget(fraItemEdit);
}

bool ActorsPanel::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on the focused box does what a double-click does, for the keyboard.
    const bool enter = event->type() == QEvent::KeyPress
        && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return
            || static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (event->type() == QEvent::MouseButtonDblClick || enter) {
        for (const ActorKind kind : kKinds) {
            if (watched == side(kind).boxes.front())
                promptPosition(kind);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ActorsPanel::document_Changed(const DocumentEvent& event)
{
    using Kind = DocumentEvent::Kind;
    if (event.kind == Kind::Saved)
        return;
    // The pictures are laid out again: a drag under way has nothing left to move.
    drags_->forget();
    if (!context_.document.doc().hasScene()) {
        clear();
        return;
    }
    // An undo or redo that switched scenes shows the place of its step, not actor 0.
    if (event.kind == Kind::SceneSelected || event.sceneSwitched)
        showScene(event.kind == Kind::SceneSelected || event.kind == Kind::Edited || event.focusX < 0);
    else if ((event.parts & ~kLeftAlone) != 0)
        refresh(event.kind == Kind::Edited && event.parts == part::Actors);
}

// --- What the panel shows ---

std::optional<Actor> ActorsPanel::actor(ActorKind kind, int index) const
{
    const Document& doc = context_.document.doc();
    if (!doc.hasScene() || index < 0)
        return std::nullopt;
    return actorAt(doc.currentScene(), kind, static_cast<std::size_t>(index));
}

void ActorsPanel::showLists()
{
    for (const ActorKind kind : kKinds) {
        QListWidget* list = side(kind).list;
        const QSignalBlocker block(list);
        list->clear();
        for (int i = 0; const auto a = actor(kind, i); ++i)
            list->addItem(qs(actorLine(static_cast<std::size_t>(i), *a)));
    }
}

void ActorsPanel::showDetails(ActorKind kind, int index)
{
    const Side& s = side(kind);
    const auto a = actor(kind, index);
    if (!a) {
        for (QLineEdit* box : s.boxes)
            box->clear();
        const QSignalBlocker block(s.type);
        s.type->setCurrentIndex(-1);
        return;
    }
    const std::vector<std::string> texts = positionTexts(*a);
    for (std::size_t i = 0; i < s.boxes.size() && i < texts.size(); ++i)
        s.boxes[i]->setText(qs(texts[i]));
    const Workspace& w = context_.workspace;
    const std::uint8_t id = actorId(*a);
    showChoice(s.type, actorChoices(kind == ActorKind::Enemy ? w.enemyNames : w.itemNames, actorTypeCount(kind), id),
               id);
}

void ActorsPanel::placePlayerLine()
{
    BitmapView* line = context_.map.linePlayerPos;
    const auto a = mode() == EditMode::Enemies ? actor(ActorKind::Enemy, selected(ActorKind::Enemy)) : std::nullopt;
    if (!a) {
        line->hide();
        return;
    }
    line->move(context_.map.toView(QPoint(playerLineX(std::get<EnemyRecord>(*a)), 0)));
    line->show();
    line->raise();
}

void ActorsPanel::highlight(ActorKind kind, int index, bool scroll, bool withPlayerLine)
{
    MapViewPanel& map = context_.map;
    const QWidget* picture = map.markerPicture(kind == ActorKind::Enemy ? MapMarker::Enemy : MapMarker::Item, index);
    if (!picture)
        return;
    const QRect r = picture->geometry();
    map.lblSelActorHighlight->setGeometry(r.adjusted(-4, -4, 4, 4));
    if (scroll) {
        const auto toMap = [&map](int viewPixels) { return map.toMap(viewPixels); };
        const std::optional<int> line = withPlayerLine && kind == ActorKind::Enemy
            ? std::optional<int>(toMap(map.linePlayerPos->x()))
            : std::nullopt;
        const ScrollChoice c =
            highlightScroll(toMap(r.left()), toMap(r.width()), line, toMap(map.picRenderDest->width()), map.viewWidth(),
                            map.hscrollRenderer->value(), map.hscrollRenderer->maximum());
        map.hscrollRenderer->setValue(c.value);
        map.hscrollRenderer->setEnabled(c.enabled);
    }
    // Under the pictures, so that it shows as a frame round the selected one.
    map.lblSelActorHighlight->lower();
    map.lblSelActorHighlight->show();
}

void ActorsPanel::showMarkers() { context_.map.showModeMarkers(); }

void ActorsPanel::showMode()
{
    // The frame and the enemy's player line belong to a selected actor of the actor modes.
    if (!actorKindOf(mode()))
        context_.map.lblSelActorHighlight->hide();
    placePlayerLine();
    showMarkers();
}

void ActorsPanel::showScene(bool scroll)
{
    showLists();
    for (const ActorKind kind : kKinds) {
        side(kind).selected = 0;
        showDetails(kind, 0);
    }
    context_.setMode(mode());
    // The mode the user chose stays: a scene without enemies leaves enemy mode with nothing
    // selected rather than switching to items.
    if (const auto kind = actorKindOf(mode())) {
        select(*kind, 0, scroll);
        if (!actor(*kind, 0))
            context_.map.lblSelActorHighlight->hide();
    }
}

void ActorsPanel::refresh(bool scroll)
{
    showLists();
    const SceneRecord& s = context_.document.doc().currentScene();
    for (const ActorKind kind : kKinds) {
        const int last = std::max(static_cast<int>(actorCount(s, kind)) - 1, 0);
        side(kind).selected = std::clamp(side(kind).selected, 0, last);
        showDetails(kind, side(kind).selected);
    }
    context_.setMode(mode());
    if (const auto kind = actorKindOf(mode())) {
        if (actor(*kind, selected(*kind)))
            follow(*kind, selected(*kind), scroll);
        else
            context_.map.lblSelActorHighlight->hide();
    }
}

void ActorsPanel::clear()
{
    showLists();
    for (const ActorKind kind : kKinds)
        showDetails(kind, -1);
}

// --- Selection ---

void ActorsPanel::select(ActorKind kind, int index, bool scroll)
{
    if (!actor(kind, index))
        return;
    context_.setMode(actorMode(kind));
    follow(kind, index, scroll);
}

void ActorsPanel::selectFirst(ActorKind kind)
{
    context_.map.lblSelActorHighlight->hide();
    select(kind, 0);
}

void ActorsPanel::follow(ActorKind kind, int index, bool scroll, bool withPlayerLine)
{
    if (!actor(kind, index))
        return;
    Side& s = side(kind);
    s.selected = index;
    {
        const QSignalBlocker block(s.list);
        s.list->setCurrentRow(index);
    }
    showDetails(kind, index);
    placePlayerLine();
    highlight(kind, index, scroll, withPlayerLine);
}

void ActorsPanel::lineChosen(ActorKind kind)
{
    if (const int row = side(kind).list->currentRow(); row >= 0)
        select(kind, row);
}

void ActorsPanel::lineMoved(ActorKind kind)
{
    const int row = side(kind).list->currentRow();
    if (!actor(kind, row))
        return;
    if (mode() == actorMode(kind)) {
        select(kind, row);
        return;
    }
    // The boxes and the type selector act on the line they show.
    side(kind).selected = row;
    showDetails(kind, row);
    placePlayerLine();
}

// --- Edits ---

std::size_t ActorsPanel::store(std::size_t index, const Actor& actor, const std::string& name)
{
    Document& doc = context_.document.doc();
    std::size_t at = index;
    if (const auto* e = std::get_if<EnemyRecord>(&actor))
        showEditFailure(context_.dialogs, edits::setEnemy(doc, index, *e, name, &at));
    else
        showEditFailure(context_.dialogs, edits::setItem(doc, index, std::get<ItemRecord>(actor), name, &at));
    return at;
}

void ActorsPanel::typeChosen(ActorKind kind, int index)
{
    const auto a = actor(kind, selected(kind));
    if (!a || index < 0)
        return;
    const auto id = static_cast<std::uint8_t>(side(kind).type->itemData(index).toInt());
    const std::size_t at = store(static_cast<std::size_t>(selected(kind)), withId(*a, id), textsOf(kind).typeChange);
    select(kind, static_cast<int>(at));
    // The actor itself in view, wherever its player line is.
    highlight(kind, selected(kind), true, false);
}

void ActorsPanel::promptPosition(ActorKind kind)
{
    const Document& doc = context_.document.doc();
    if (!doc.hasScene() || actorCount(doc.currentScene(), kind) == 0)
        return;
    Dialogs& dialogs = context_.dialogs;
    const KindTexts& texts = textsOf(kind);
    const int limit = positionLimit(doc.currentScene(), kind);
    const std::optional<QString> typed = dialogs.inputBox(qs(positionPrompt(kind, limit)), QString());
    const PositionAnswer a = readPositionAnswer(typed ? std::optional(ss(*typed)) : std::nullopt, limit, texts.field);
    switch (a.kind) {
    case PositionAnswer::Kind::Empty: dialogs.message(texts.notMoved); return;
    case PositionAnswer::Kind::NotHex: dialogs.message(qs(a.reason), Dialogs::Icon::Exclamation); return;
    case PositionAnswer::Kind::OutOfRange:
        dialogs.message("Value is outside stage length!", Dialogs::Icon::Exclamation);
        return;
    case PositionAnswer::Kind::Value: break;
    }
    const int index = std::min(selected(kind), static_cast<int>(actorCount(doc.currentScene(), kind)) - 1);
    const std::size_t at =
        store(static_cast<std::size_t>(index), withPosition(*actor(kind, index), a.value), texts.typedMove);
    select(kind, static_cast<int>(at));
}

}  // namespace velmar
