#include "panels/actors_panel.h"

#include <QAction>
#include <QBrush>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "actor_selection.h"
#include "actors/map_end.h"
#include "base/hex.h"
#include "map/actor_drag_tool.h"
#include "dialogs.h"
#include "edit_failure.h"
#include "editor/edits.h"
#include "editor/workspace.h"
#include "editor_document.h"
#include "gfx/metatile_render.h"
#include "mapview/map_view_rules.h"
#include "panels/map_view_panel.h"
#include "qt_bridge.h"
#include "widgets/bitmap_view.h"

namespace velmar {

namespace {

// A position box: typed into, its value goes to the actor when Enter is pressed or the focus
// leaves it. `prompt`, for an enemy's b and an item's x, names the value the prompt that a
// double-click opens asks for (Enter in the box, untouched, opens it too).
QLineEdit* positionBox(QWidget* parent, const char* name, const QString& shows, int characters,
                       const QString& prompt = QString())
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    const QString typed = shows + ": type a new value and press Enter";
    box->setToolTip(prompt.isEmpty() ? typed : typed + ", or double-click to be asked for a new " + prompt);
    box->setAccessibleName(shows);
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
// nothing typed, the names of the steps, and what each position box is called.
struct KindTexts {
    const char* field;
    const char* notMoved;
    const char* typedMove;
    const char* typeChange;
    const char* boxMove;
    const char* name;
    const char* names;
};
constexpr std::array<KindTexts, 2> kTexts{{
    {"Enemy B", "Enemy not moved!", "Move Enemy Base", "Change Enemy Type", "Move Enemy", "enemy", "enemies"},
    {"Item X", "Item not moved!", "Move Item", "Change Item Type", "Move Item", "item", "items"},
}};
const KindTexts& textsOf(ActorKind kind) { return kTexts[static_cast<std::size_t>(kind)]; }

// The fields of the position boxes after the first (b, x): an enemy's column and row, an item's
// y (a row in the high nibble).
struct BoxField {
    const char* name;
    std::uint8_t max;
};
constexpr std::array<BoxField, 2> kEnemyFields{{{"Enemy Screen X", 0x0F}, {"Enemy Y", 0x0F}}};
constexpr BoxField kItemY{"Item Y", 0xF0};

// A line of a list: the actor, and "past the end" for one the map does not reach.
constexpr const char* kPastEnd = "  past the end";

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
    buildCommands();
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
        s.list->installEventFilter(this);
        // Activated comes from the user's pick only, never from the panel's own filling.
        connect(s.type, &QComboBox::activated, this, [this, kind](int index) { typeChosen(kind, index); });
        s.boxes.front()->installEventFilter(this);
        // The first box takes Enter itself (see eventFilter); the focus leaving it, and Enter or
        // the focus leaving the others, hand in what was typed.
        for (std::size_t i = 0; i < s.boxes.size(); ++i)
            connect(s.boxes[i], &QLineEdit::editingFinished, this, [this, kind, i] { positionTyped(kind, i); });
    }
    MapViewPanel* map = &context_.map;
    // After the map, whose pictures the selection is marked on and scrolled to.
    connect(map, &MapViewPanel::sceneDrawn, this, &ActorsPanel::map_SceneDrawn);
    // In the actor modes Insert, Delete and Ctrl+D on the map act on the mode's actors, before
    // the map's own commands see those keys.
    mapPicture_ = map->picRenderDest;
    map->picRenderDest->installEventFilter(this);
    connect(map, &MapViewPanel::markerPressed, this,
            [this](MapMarker marker, int index, QPoint point) { drags_->press(marker, index, point); });
    connect(map, &MapViewPanel::markerMoved, this,
            [this](MapMarker marker, int index, QPoint point) { drags_->move(marker, index, point); });
    connect(map, &MapViewPanel::markerReleased, this,
            [this](MapMarker marker, int index, QPoint point) { drags_->release(marker, index, point); });
    connect(map, &MapViewPanel::pointerOver, this, [this](MapMarker, int, QPoint point) { pointer_ = point; });
    connect(map, &MapViewPanel::contextMenuRequested, this, [this](QPoint at, QPoint global) {
        if (const std::unique_ptr<QMenu> menu = contextMenu(at); menu && !menu->isEmpty())
            menu->exec(global);
    });
    showCommandStates();
}

ActorsPanel::~ActorsPanel() = default;

void ActorsPanel::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    // A list and, beside it, the buttons that add, duplicate and delete its actors.
    const auto listRow = [this, layout](QListWidget* list, std::array<QToolButton**, 3> buttons, const char* kind) {
        auto* row = new QHBoxLayout;
        row->setSpacing(3);
        row->addWidget(list, 1);
        auto* column = new QVBoxLayout;
        column->setSpacing(2);
        const struct {
            const char* name;
            const char* text;
        } made[] = {{"cmdAdd", "Add"}, {"cmdDuplicate", "Dup"}, {"cmdDelete", "Del"}};
        for (std::size_t i = 0; i < 3; ++i) {
            auto* b = new QToolButton(this);
            b->setObjectName(QString(made[i].name) + kind);
            b->setText(made[i].text);
            const QString command = QString(made[i].name + 3) + " " + kind;
            b->setAccessibleName(command);
            b->setMinimumWidth(36);
            column->addWidget(b);
            *buttons[i] = b;
        }
        column->addStretch();
        row->addLayout(column);
        layout->addLayout(row);
    };

    lstEnemyList = actorList(this, "lstEnemyList", "Enemy List -> #: [ID] [B] [X] [Y]");
    listRow(lstEnemyList, {&cmdAddEnemy, &cmdDuplicateEnemy, &cmdDeleteEnemy}, "Enemy");
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
    cmbEnemyList->setToolTip("Enemy type (also of the enemies Add Enemy makes)");
    enemyGrid->addWidget(cmbEnemyList, 1, 0, 1, 6);
    layout->addWidget(fraEnemyEdit);

    lstItemList = actorList(this, "lstItemList", "Item List -> #: [ID] [X] [Y]");
    listRow(lstItemList, {&cmdAddItem, &cmdDuplicateItem, &cmdDeleteItem}, "Item");
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
    cmbItemList->setToolTip("Item type (also of the items Add Item makes)");
    itemGrid->addWidget(cmbItemList, 1, 0, 1, 5);
    layout->addWidget(fraItemEdit);
}

void ActorsPanel::buildCommands()
{
    using C = edits::ActorCommand;
    const std::pair<QToolButton*, std::pair<C, ActorKind>> buttons[] = {
        {cmdAddEnemy, {C::Add, ActorKind::Enemy}},
        {cmdAddItem, {C::Add, ActorKind::Item}},
        {cmdDuplicateEnemy, {C::Duplicate, ActorKind::Enemy}},
        {cmdDuplicateItem, {C::Duplicate, ActorKind::Item}},
        {cmdDeleteEnemy, {C::Delete, ActorKind::Enemy}},
        {cmdDeleteItem, {C::Delete, ActorKind::Item}},
    };
    for (const auto& [button, command] : buttons) {
        button->setToolTip(actorCommandTip(command.first, command.second));
        connect(button, &QToolButton::clicked, this, [this, c = command] { run(c.first, c.second); });
    }
}

void ActorsPanel::run(edits::ActorCommand command, ActorKind kind)
{
    switch (command) {
    case edits::ActorCommand::Add: addActor(kind); break;
    case edits::ActorCommand::Delete: deleteActor(kind); break;
    case edits::ActorCommand::Duplicate: duplicateActor(kind); break;
    }
}

QString actorCommandTip(edits::ActorCommand command, ActorKind kind)
{
    const QString name = qs(edits::actorCommandName(command, kind));
    const QString actor = kind == ActorKind::Enemy ? "enemy" : "item";
    switch (command) {
    case edits::ActorCommand::Add:
        return name + ": a new " + actor + " at the pointer (Insert), of the type the selector shows";
    case edits::ActorCommand::Duplicate: return name + ": a copy of the selected " + actor + " beside it (Ctrl+D)";
    case edits::ActorCommand::Delete: break;
    }
    return name + ": remove the selected " + actor + " (Delete)";
}

void ActorsPanel::showCommandStates()
{
    const Document& doc = context_.document.doc();
    const bool scene = doc.hasScene();
    std::array<bool, 2> any{};
    for (const ActorKind kind : kKinds) {
        any[static_cast<std::size_t>(kind)] = scene && actorCount(doc.currentScene(), kind) > 0;
        const bool enemy = kind == ActorKind::Enemy;
        (enemy ? cmdAddEnemy : cmdAddItem)->setEnabled(scene);
        (enemy ? cmdDuplicateEnemy : cmdDuplicateItem)->setEnabled(any[static_cast<std::size_t>(kind)]);
        (enemy ? cmdDeleteEnemy : cmdDeleteItem)->setEnabled(any[static_cast<std::size_t>(kind)]);
    }
    emit commandsChanged(scene, any[static_cast<std::size_t>(ActorKind::Enemy)],
                         any[static_cast<std::size_t>(ActorKind::Item)]);
}

void ActorsPanel::say(const QString& text) const
{
    if (context_.status)
        context_.status(text);
}

bool ActorsPanel::eventFilter(QObject* watched, QEvent* event)
{
    const auto* key = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride
        ? static_cast<QKeyEvent*>(event)
        : nullptr;
    // The map's own Delete (of a selection of cells) and the like give way to the actors' keys on
    // the map in the actor modes, and in the lists: taking the override makes the key come as a
    // key press.
    const auto takeOverride = [&] {
        const bool ours = key->key() == Qt::Key_Insert || key->key() == Qt::Key_Delete
            || (key->key() == Qt::Key_D && key->modifiers() == Qt::ControlModifier);
        if (ours)
            event->accept();
        return ours;
    };
    if (watched == mapPicture_) {
        // Only keys ask for the mode: no key comes while the window is taken down.
        const auto kind = key ? actorKindOf(mode()) : std::nullopt;
        if (!kind)
            return QWidget::eventFilter(watched, event);
        if (event->type() == QEvent::ShortcutOverride)
            return takeOverride();
        return commandKey(*kind, *key);
    }
    for (const ActorKind kind : kKinds) {
        const Side& s = side(kind);
        if (watched == s.list && key && event->type() == QEvent::ShortcutOverride)
            return takeOverride();
        if (watched == s.list && key && event->type() == QEvent::KeyPress)
            return commandKey(kind, *key) || QWidget::eventFilter(watched, event);
        if (watched != s.boxes.front())
            continue;
        // Enter in the box hands in what was typed; in a box left as it was, it asks for the
        // value as a double-click does.
        const bool enter =
            key && event->type() == QEvent::KeyPress && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
        if (event->type() == QEvent::MouseButtonDblClick || (enter && !s.boxes.front()->isModified())) {
            promptPosition(kind);
            return true;
        }
        if (enter) {
            positionTyped(kind, 0);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ActorsPanel::commandKey(ActorKind kind, const QKeyEvent& key)
{
    if (!context_.document.doc().hasScene())
        return false;
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if (key.key() == Qt::Key_Insert && mods == Qt::NoModifier)
        addActor(kind);
    else if (key.key() == Qt::Key_Delete && mods == Qt::NoModifier)
        deleteActor(kind);
    else if (key.key() == Qt::Key_D && mods == Qt::ControlModifier)
        duplicateActor(kind);
    else
        return false;
    return true;
}

void ActorsPanel::map_SceneDrawn(const DocumentEvent& event)
{
    using Kind = DocumentEvent::Kind;
    showCommandStates();
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

int ActorsPanel::selected(ActorKind kind) const { return context_.selection.selected(kind); }

std::optional<Actor> ActorsPanel::actor(ActorKind kind, int index) const
{
    const Document& doc = context_.document.doc();
    if (!doc.hasScene() || index < 0)
        return std::nullopt;
    return actorAt(doc.currentScene(), kind, static_cast<std::size_t>(index));
}

void ActorsPanel::showLists()
{
    const Document& doc = context_.document.doc();
    for (const ActorKind kind : kKinds) {
        QListWidget* list = side(kind).list;
        const QSignalBlocker block(list);
        list->clear();
        for (int i = 0; const auto a = actor(kind, i); ++i) {
            const std::string line = actorLine(static_cast<std::size_t>(i), *a);
            const int length = doc.currentScene().length;
            if (!beyondMapEnd(*a, length)) {
                list->addItem(qs(line));
                continue;
            }
            // The map does not show it: the line says where it is, and why it is not there.
            auto* item = new QListWidgetItem(qs(line) + kPastEnd, list);
            item->setForeground(QBrush(QColor(0xC0, 0x00, 0x00)));
            item->setToolTip(QString("Past the map's end: it stands in column %1, and a map of %2 screens ends "
                                     "with column %3, so the map does not show it")
                                 .arg(qs(hexText(actorColumn(*a))))
                                 .arg(length + 1)
                                 .arg(qs(hexPad(lastMapColumn(length), 2))));
        }
    }
}

void ActorsPanel::showDetails(ActorKind kind, int index)
{
    const Side& s = side(kind);
    const auto a = actor(kind, index);
    const Workspace& w = context_.workspace;
    const std::vector<std::string>& names = kind == ActorKind::Enemy ? w.enemyNames : w.itemNames;
    if (!a) {
        for (QLineEdit* box : s.boxes)
            box->clear();
        // The types stay to choose from: the next actor added takes the one shown.
        const int shown = s.type->currentIndex() >= 0 ? s.type->currentData().toInt() : 0;
        showChoice(s.type, actorChoices(names, actorTypeCount(kind), std::nullopt), static_cast<std::uint8_t>(shown));
        if (s.type->currentIndex() < 0 && s.type->count() > 0) {
            const QSignalBlocker block(s.type);
            s.type->setCurrentIndex(0);
        }
        return;
    }
    const std::vector<std::string> texts = positionTexts(*a);
    for (std::size_t i = 0; i < s.boxes.size() && i < texts.size(); ++i)
        s.boxes[i]->setText(qs(texts[i]));
    const std::uint8_t id = actorId(*a);
    showChoice(s.type, actorChoices(names, actorTypeCount(kind), id), id);
}

void ActorsPanel::showScene(bool scroll)
{
    showLists();
    for (const ActorKind kind : kKinds) {
        context_.selection.select(kind, 0);
        showDetails(kind, 0);
    }
    context_.setMode(mode());
    // The mode the user chose stays: a scene without enemies leaves enemy mode with nothing
    // selected rather than switching to items.
    if (const auto kind = actorKindOf(mode()))
        select(*kind, 0, scroll);
}

void ActorsPanel::refresh(bool scroll)
{
    showLists();
    const SceneRecord& s = context_.document.doc().currentScene();
    for (const ActorKind kind : kKinds) {
        const int last = std::max(static_cast<int>(actorCount(s, kind)) - 1, 0);
        context_.selection.select(kind, std::clamp(selected(kind), 0, last));
        showDetails(kind, selected(kind));
    }
    context_.setMode(mode());
    if (const auto kind = actorKindOf(mode()))
        follow(*kind, selected(*kind), scroll);
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

void ActorsPanel::follow(ActorKind kind, int index, bool scroll, bool withPlayerLine)
{
    if (!actor(kind, index))
        return;
    context_.selection.select(kind, index);
    {
        const QSignalBlocker block(side(kind).list);
        side(kind).list->setCurrentRow(index);
    }
    showDetails(kind, index);
    if (scroll)
        context_.map.scrollToActor(kind, index, withPlayerLine);
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
    context_.selection.select(kind, row);
    showDetails(kind, row);
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
    context_.map.scrollToActor(kind, selected(kind), false);
}

void ActorsPanel::promptPosition(ActorKind kind)
{
    const Document& doc = context_.document.doc();
    if (!doc.hasScene() || actorCount(doc.currentScene(), kind) == 0)
        return;
    Dialogs& dialogs = context_.dialogs;
    const KindTexts& texts = textsOf(kind);
    const int index = std::clamp(selected(kind), 0, static_cast<int>(actorCount(doc.currentScene(), kind)) - 1);
    // The limit keeps the actor inside the map, its column (an enemy's) included.
    const int limit = positionLimit(doc.currentScene(), *actor(kind, index));
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
    const std::size_t at =
        store(static_cast<std::size_t>(index), withPosition(*actor(kind, index), a.value), texts.typedMove);
    select(kind, static_cast<int>(at));
}

void ActorsPanel::positionTyped(ActorKind kind, std::size_t box)
{
    const Document& doc = context_.document.doc();
    const Side& s = side(kind);
    const auto a = actor(kind, selected(kind));
    if (!doc.hasScene() || !a || box >= s.boxes.size())
        return;
    const QString text = s.boxes[box]->text();
    const std::vector<std::string> shown = positionTexts(*a);
    if (ss(text) == shown[box])
        return;
    // What was typed goes; the box shows the actor's value again whatever comes of it.
    const auto refuse = [&](const QString& why, bool asMessage) {
        showDetails(kind, selected(kind));
        if (asMessage)
            context_.dialogs.message(why, Dialogs::Icon::Exclamation);
        else
            say(why);
    };
    const KindTexts& texts = textsOf(kind);
    Actor moved = *a;
    if (box == 0) {
        // An enemy's b or an item's x: read and limited as the prompt reads and limits them.
        const int limit = positionLimit(doc.currentScene(), *a);
        const PositionAnswer answer = readPositionAnswer(ss(text), limit, texts.field);
        switch (answer.kind) {
        case PositionAnswer::Kind::Empty: showDetails(kind, selected(kind)); return;
        case PositionAnswer::Kind::NotHex: refuse(qs(answer.reason), false); return;
        case PositionAnswer::Kind::OutOfRange:
            refuse(QString("Value is outside stage length! (max = $%1)").arg(qs(hexText(limit))), true);
            return;
        case PositionAnswer::Kind::Value: break;
        }
        moved = withPosition(*a, answer.value);
    } else {
        const BoxField field = kind == ActorKind::Enemy ? kEnemyFields[box - 1] : kItemY;
        const HexByte typed = readHexByte(ss(text), field.name, field.max);
        if (!typed.ok()) {
            refuse(qs(typed.reason), false);
            return;
        }
        if (const auto* e = std::get_if<EnemyRecord>(&*a)) {
            EnemyRecord r = *e;
            r.xy = box == 1 ? static_cast<std::uint8_t>((r.xy & 0xF0) | typed.value)
                            : static_cast<std::uint8_t>((typed.value << 4) | (r.xy & 0x0F));
            moved = r;
        } else {
            if (typed.value & 0x0F) {
                refuse("Item Y is a row: 00, 10, 20 .. F0.", false);
                return;
            }
            ItemRecord r = std::get<ItemRecord>(*a);
            r.y = static_cast<std::uint8_t>(typed.value | (r.y & 0x0F));
            moved = r;
        }
    }
    const std::size_t at =
        store(static_cast<std::size_t>(selected(kind)), moved, box == 0 ? texts.typedMove : texts.boxMove);
    // A refusal (a place past the map's end) was said; the boxes show the actor as it is.
    select(kind, static_cast<int>(at));
    showDetails(kind, selected(kind));
}

// --- Actors one at a time ---

QPoint ActorsPanel::addPoint() const
{
    const MapViewPanel& map = context_.map;
    if (pointer_ && map.picContainer->underMouse())
        return *pointer_;
    // The middle of the map's window.
    return {map.hscrollRenderer->value() + map.viewWidth() / 2, kMapHeight / 2};
}

void ActorsPanel::commandDone(ActorKind kind, const Outcome<EditResult>& result, std::size_t index)
{
    if (result.code != EditResult::Recorded) {
        // Nothing changed: the reason (no room, past the end, a full list) is said.
        if (result.code == EditResult::Refused && !result.reason.empty())
            context_.dialogs.message(qs(result.reason), Dialogs::Icon::Exclamation);
        else
            showEditFailure(context_.dialogs, result);
        return;
    }
    select(kind, static_cast<int>(index));
    // The actor itself in view, wherever its player line is.
    context_.map.scrollToActor(kind, selected(kind), false);
}

void ActorsPanel::addActor(ActorKind kind, std::optional<QPoint> at)
{
    Document& doc = context_.document.doc();
    if (!doc.hasScene())
        return;
    const QPoint p = at.value_or(addPoint());
    const QComboBox* type = side(kind).type;
    const auto id = static_cast<std::uint8_t>(type->currentIndex() >= 0 ? type->currentData().toInt() : 0);
    std::size_t index = 0;
    const Outcome<EditResult> r =
        edits::addActor(doc, actorAtPoint(kind, id, p.x(), p.y(), doc.currentScene().length), &index);
    commandDone(kind, r, index);
}

void ActorsPanel::deleteActor(ActorKind kind)
{
    Document& doc = context_.document.doc();
    if (!actor(kind, selected(kind)))
        return;
    const int index = selected(kind);
    const Outcome<EditResult> r = edits::deleteActor(doc, kind, static_cast<std::size_t>(index));
    if (r.code != EditResult::Recorded) {
        showEditFailure(context_.dialogs, r);
        return;
    }
    // The actor that took its line is selected, or the last one; in the kind's mode.
    if (actorCount(doc.currentScene(), kind) > 0)
        select(kind, std::min(index, static_cast<int>(actorCount(doc.currentScene(), kind)) - 1), false);
}

void ActorsPanel::duplicateActor(ActorKind kind)
{
    Document& doc = context_.document.doc();
    if (!actor(kind, selected(kind)))
        return;
    std::size_t index = 0;
    const Outcome<EditResult> r = edits::duplicateActor(doc, kind, static_cast<std::size_t>(selected(kind)), &index);
    commandDone(kind, r, index);
}

std::unique_ptr<QMenu> ActorsPanel::contextMenu(QPoint at)
{
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName("actorContextMenu");
    const auto kind = actorKindOf(mode());
    if (!kind || !context_.document.doc().hasScene())
        return menu;
    // The drag a right press began on a picture ends here: the menu takes the release.
    drags_->forget();
    using edits::ActorCommand;
    QAction* add = menu->addAction(qs(edits::actorCommandName(ActorCommand::Add, *kind)) + " Here");
    add->setObjectName("contextAdd");
    connect(add, &QAction::triggered, this, [this, kind = *kind, at] { addActor(kind, at); });
    const bool any = actor(*kind, selected(*kind)).has_value();
    QAction* duplicate = menu->addAction(qs(edits::actorCommandName(ActorCommand::Duplicate, *kind)));
    duplicate->setObjectName("contextDuplicate");
    duplicate->setEnabled(any);
    connect(duplicate, &QAction::triggered, this, [this, kind = *kind] { duplicateActor(kind); });
    QAction* remove = menu->addAction(qs(edits::actorCommandName(ActorCommand::Delete, *kind)));
    remove->setObjectName("contextDelete");
    remove->setEnabled(any);
    connect(remove, &QAction::triggered, this, [this, kind = *kind] { deleteActor(kind); });
    return menu;
}

}  // namespace velmar
