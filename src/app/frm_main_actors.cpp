// The main window's actors: the enemy and item lists with the selected actor's boxes, the
// selection frame, and moving actors by dragging their pictures, by the prompts and by the keys.
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>

#include "actors/actor_placement.h"
#include "edit_failure.h"
#include "frm_main.h"
#include "mapview/map_view_rules.h"
#include "panels/actor_lists_panel.h"
#include "panels/map_view_panel.h"
#include "qt_bridge.h"
#include "base/hex.h"
#include "widgets/bitmap_view.h"

namespace velmar {

namespace {

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

constexpr int kEnemyTypes = 256;
constexpr int kItemTypes = 16;

}  // namespace

void frmMain::buildActorLists()
{
    auto* layout = new QVBoxLayout(actorListsPlace);
    layout->setContentsMargins(0, 0, 0, 0);
    actorLists = new ActorListsPanel(actorListsPlace);
    layout->addWidget(actorLists);
    lstEnemyList = actorLists->lstEnemyList;
    lstItemList = actorLists->lstItemList;
    fraEnemyEdit = actorLists->fraEnemyEdit;
    txtEnemyEdit_B = actorLists->txtEnemyEdit_B;
    txtEnemyEdit_X = actorLists->txtEnemyEdit_X;
    txtEnemyEdit_Y = actorLists->txtEnemyEdit_Y;
    cmbEnemyList = actorLists->cmbEnemyList;
    fraItemEdit = actorLists->fraItemEdit;
    txtItemEdit_X = actorLists->txtItemEdit_X;
    txtItemEdit_Y = actorLists->txtItemEdit_Y;
    cmbItemList = actorLists->cmbItemList;
    connect(actorLists, &ActorListsPanel::enemyLineChosen, this, &frmMain::lstEnemyList_Click);
    connect(actorLists, &ActorListsPanel::itemLineChosen, this, &frmMain::lstItemList_Click);
    connect(actorLists, &ActorListsPanel::enemyLineMoved, this, &frmMain::lstEnemyList_Change);
    connect(actorLists, &ActorListsPanel::itemLineMoved, this, &frmMain::lstItemList_Change);
    connect(actorLists, &ActorListsPanel::enemyTypeChosen, this, &frmMain::cmbEnemyList_Click);
    connect(actorLists, &ActorListsPanel::itemTypeChosen, this, &frmMain::cmbItemList_Click);
    connect(actorLists, &ActorListsPanel::enemyBDoubleClicked, this, &frmMain::txtEnemyEdit_B_DblClick);
    connect(actorLists, &ActorListsPanel::itemXDoubleClicked, this, &frmMain::txtItemEdit_X_DblClick);
}

void frmMain::connectActorPictures()
{
    connect(mapView, &MapViewPanel::markerPressed, this, [this](MapMarker marker, int index, QPoint point) {
        switch (marker) {
        case MapMarker::Enemy: picEnemy_MouseDown(index, point); break;
        case MapMarker::Item: picPwrUp_MouseDown(index, point); break;
        case MapMarker::PlayerStart: picMainCharacterSpawn_MouseDown(point); break;
        case MapMarker::PlayerLine: linePlayerPos_MouseDown(point); break;
        case MapMarker::None: break;
        }
    });
    connect(mapView, &MapViewPanel::markerMoved, this, [this](MapMarker marker, int index, QPoint point) {
        switch (marker) {
        case MapMarker::Enemy: picEnemy_MouseMove(index, point); break;
        case MapMarker::Item: picPwrUp_MouseMove(index, point); break;
        case MapMarker::PlayerStart: picMainCharacterSpawn_MouseMove(point); break;
        case MapMarker::PlayerLine: linePlayerPos_MouseMove(point); break;
        case MapMarker::None: break;
        }
    });
    connect(mapView, &MapViewPanel::markerReleased, this, [this](MapMarker marker, int index, QPoint point) {
        switch (marker) {
        case MapMarker::Enemy: picEnemy_MouseUp(index, point); break;
        case MapMarker::Item: picPwrUp_MouseUp(index, point); break;
        case MapMarker::PlayerStart: picMainCharacterSpawn_MouseUp(point); break;
        case MapMarker::PlayerLine: linePlayerPos_MouseUp(point); break;
        case MapMarker::None: break;
        }
    });
    connect(mapView, &MapViewPanel::pointerOver, this, [this](MapMarker marker, int index, QPoint point) {
        if (!doc().hasScene())
            return;
        showHover(point);
        showPointer(marker, index, point);
    });
    lblPointer_ = new QLabel(mainStatusBar);
    lblPointer_->setObjectName("lblPointer");
    lblPointer_->setAccessibleName("Pointer position");
    mainStatusBar->addPermanentWidget(lblPointer_);
    picContainer->installEventFilter(this);
    picRenderDest->installEventFilter(this);
    picRenderDest->setAccessibleDescription(
        "In map mode the arrow keys move the outlined cell and Space or Enter places the chosen metatile there; "
        "in enemy and item modes the arrow keys move the selected actor");
}

void frmMain::showPointer(MapMarker marker, int index, QPoint point)
{
    if (!doc().hasScene())
        return;
    pointer_ = {marker, index, point};
    QString text = qs(pointerText(point.x(), point.y(), editMode_ != EditMode::Map));
    const SceneRecord& s = doc().currentScene();
    if (editMode_ == EditMode::Map) {
        if (const auto m = metatileAt(s, mapCellAt(point.x(), point.y())))
            text += "  Metatile " + qs(hexPad(*m, 2));
    }
    const auto at = static_cast<std::size_t>(index);
    if (marker == MapMarker::Enemy && at < s.enemies.size())
        text += "    Enemy " + qs(enemyLine(at, s.enemies[at]));
    else if (marker == MapMarker::Item && at < s.items.size())
        text += "    Item " + qs(itemLine(at, s.items[at]));
    else if (marker == MapMarker::PlayerStart)
        text += "    Player start " + qs(hexPad(s.startX, 2) + " " + hexPad(s.startY, 2));
    lblPointer_->setText(text);
}

// --- Lists and boxes ---

void frmMain::refreshEnemyList()
{
    const QSignalBlocker block(lstEnemyList);
    lstEnemyList->clear();
    const auto& enemies = doc().currentScene().enemies;
    for (std::size_t i = 0; i < enemies.size(); ++i)
        lstEnemyList->addItem(qs(enemyLine(i, enemies[i])));
}

void frmMain::refreshItemList()
{
    const QSignalBlocker block(lstItemList);
    lstItemList->clear();
    const auto& items = doc().currentScene().items;
    for (std::size_t i = 0; i < items.size(); ++i)
        lstItemList->addItem(qs(itemLine(i, items[i])));
}

void frmMain::showEnemyDetails(int index)
{
    const auto& enemies = doc().currentScene().enemies;
    if (index < 0 || static_cast<std::size_t>(index) >= enemies.size()) {
        for (QLineEdit* box : {txtEnemyEdit_B, txtEnemyEdit_X, txtEnemyEdit_Y})
            box->clear();
        const QSignalBlocker block(cmbEnemyList);
        cmbEnemyList->setCurrentIndex(-1);
        return;
    }
    const EnemyRecord& e = enemies[static_cast<std::size_t>(index)];
    txtEnemyEdit_B->setText(qs(hexPad(e.b, 2)));
    txtEnemyEdit_X->setText(qs(hexText(e.xy & 0x0F)));
    txtEnemyEdit_Y->setText(qs(hexText(e.xy >> 4)));
    showChoice(cmbEnemyList, actorChoices(workspace_.enemyNames, kEnemyTypes, e.id), e.id);
    linePlayerPos->move(mapView->toView(QPoint(playerLineX(e), 0)));
    linePlayerPos->show();
    linePlayerPos->raise();
}

void frmMain::showItemDetails(int index)
{
    const auto& items = doc().currentScene().items;
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) {
        for (QLineEdit* box : {txtItemEdit_X, txtItemEdit_Y})
            box->clear();
        const QSignalBlocker block(cmbItemList);
        cmbItemList->setCurrentIndex(-1);
        return;
    }
    const ItemRecord& item = items[static_cast<std::size_t>(index)];
    txtItemEdit_X->setText(qs(hexPad(item.x, 2)));
    txtItemEdit_Y->setText(qs(hexPad(item.y, 2)));
    showChoice(cmbItemList, actorChoices(workspace_.itemNames, kItemTypes, item.id), item.id);
}

void frmMain::setEnemiesVisible(bool visible) { mapView->setEnemiesVisible(visible); }
void frmMain::setItemsVisible(bool visible) { mapView->setItemsVisible(visible); }

void frmMain::selectEnemy(int index, QPoint grab)
{
    const int count = doc().hasScene() ? static_cast<int>(doc().currentScene().enemies.size()) : 0;
    if (count == 0 || index < 0 || index >= count)
        return;
    editMode_ = EditMode::Enemies;
    selectedEnemy_ = index;
    {
        const QSignalBlocker block(lstEnemyList);
        lstEnemyList->setCurrentRow(index);
    }
    setEnemiesVisible(true);
    setItemsVisible(false);
    showEnemyDetails(index);
    highlightActor(mapView->markerPicture(MapMarker::Enemy, index), true, true);
    setModeButtons(EditMode::Enemies);
    enemyGrab_ = grab;
}

void frmMain::selectItem(int index, QPoint grab)
{
    const int count = doc().hasScene() ? static_cast<int>(doc().currentScene().items.size()) : 0;
    if (count == 0 || index < 0 || index >= count)
        return;
    editMode_ = EditMode::Items;
    selectedItem_ = index;
    {
        const QSignalBlocker block(lstItemList);
        lstItemList->setCurrentRow(index);
    }
    setItemsVisible(true);
    setEnemiesVisible(false);
    showItemDetails(index);
    highlightActor(mapView->markerPicture(MapMarker::Item, index), true, false);
    setModeButtons(EditMode::Items);
    linePlayerPos->hide();
    itemGrab_ = grab;
}

void frmMain::highlightActor(QWidget* picture, bool scroll, bool withPlayerLine)
{
    if (!picture)
        return;
    const QRect r = picture->geometry();
    lblSelActorHighlight->setGeometry(r.adjusted(-4, -4, 4, 4));
    const auto toMap = [this](int viewPixels) { return mapView->toMap(viewPixels); };
    if (scroll) {
        const ScrollChoice c = highlightScroll(
            toMap(r.left()), toMap(r.width()), withPlayerLine ? std::optional<int>(toMap(linePlayerPos->x())) : std::nullopt,
            toMap(picRenderDest->width()), mapView->viewWidth(), hscrollRenderer->value(), hscrollRenderer->maximum());
        hscrollRenderer->setValue(c.value);
        hscrollRenderer->setEnabled(c.enabled);
    }
    // Under the pictures, so that it shows as a frame round the selected one.
    lblSelActorHighlight->lower();
    lblSelActorHighlight->show();
}

void frmMain::refreshActors(bool scroll)
{
    refreshEnemyList();
    refreshItemList();
    const SceneRecord& s = doc().currentScene();
    selectedEnemy_ = std::clamp(selectedEnemy_, 0, std::max(static_cast<int>(s.enemies.size()) - 1, 0));
    selectedItem_ = std::clamp(selectedItem_, 0, std::max(static_cast<int>(s.items.size()) - 1, 0));
    showItemDetails(selectedItem_);
    showEnemyDetails(selectedEnemy_);
    applyEditMode(editMode_);
    if (editMode_ == EditMode::Enemies && !s.enemies.empty())
        followEnemy(selectedEnemy_, scroll, true);
    else if (editMode_ == EditMode::Items && !s.items.empty())
        followItem(selectedItem_, scroll);
    else if (editMode_ != EditMode::Map && editMode_ != EditMode::All)
        lblSelActorHighlight->hide();
}

void frmMain::followEnemy(int index, bool scroll, bool withPlayerLine)
{
    if (index < 0 || static_cast<std::size_t>(index) >= doc().currentScene().enemies.size())
        return;
    selectedEnemy_ = index;
    const QSignalBlocker block(lstEnemyList);
    lstEnemyList->setCurrentRow(index);
    showEnemyDetails(index);
    highlightActor(mapView->markerPicture(MapMarker::Enemy, index), scroll, withPlayerLine);
}

void frmMain::followItem(int index, bool scroll)
{
    if (index < 0 || static_cast<std::size_t>(index) >= doc().currentScene().items.size())
        return;
    selectedItem_ = index;
    const QSignalBlocker block(lstItemList);
    lstItemList->setCurrentRow(index);
    showItemDetails(index);
    highlightActor(mapView->markerPicture(MapMarker::Item, index), scroll, false);
}

void frmMain::showSceneActors()
{
    refreshEnemyList();
    refreshItemList();
    selectedEnemy_ = 0;
    selectedItem_ = 0;
    showItemDetails(0);
    showEnemyDetails(0);
    applyEditMode(editMode_);
    // The mode the user chose stays: a scene without enemies leaves enemy mode with nothing
    // selected rather than switching to items.
    if (editMode_ == EditMode::Enemies)
        selectEnemy(0);
    else if (editMode_ == EditMode::Items)
        selectItem(0);
    if ((editMode_ == EditMode::Enemies && doc().currentScene().enemies.empty())
        || (editMode_ == EditMode::Items && doc().currentScene().items.empty()))
        lblSelActorHighlight->hide();
}

void frmMain::lstEnemyList_Click()
{
    if (lstEnemyList->currentRow() >= 0)
        selectEnemy(lstEnemyList->currentRow());
}

void frmMain::lstItemList_Click()
{
    if (lstItemList->currentRow() >= 0)
        selectItem(lstItemList->currentRow());
}

void frmMain::lstEnemyList_Change()
{
    const int row = lstEnemyList->currentRow();
    if (row < 0 || !doc().hasScene() || static_cast<std::size_t>(row) >= doc().currentScene().enemies.size())
        return;
    if (editMode_ == EditMode::Enemies) {
        selectEnemy(row);
        return;
    }
    // The boxes and the type selector act on the line they show.
    selectedEnemy_ = row;
    showEnemyDetails(row);
    linePlayerPos->hide();
}

void frmMain::lstItemList_Change()
{
    const int row = lstItemList->currentRow();
    if (row < 0 || !doc().hasScene() || static_cast<std::size_t>(row) >= doc().currentScene().items.size())
        return;
    if (editMode_ == EditMode::Items) {
        selectItem(row);
        return;
    }
    selectedItem_ = row;
    showItemDetails(row);
}

void frmMain::cmbEnemyList_Click(int index)
{
    const auto& enemies = doc().currentScene().enemies;
    if (!doc().hasScene() || static_cast<std::size_t>(selectedEnemy_) >= enemies.size() || index < 0)
        return;
    EnemyRecord e = enemies[static_cast<std::size_t>(selectedEnemy_)];
    e.id = static_cast<std::uint8_t>(cmbEnemyList->itemData(index).toInt());
    std::size_t at = static_cast<std::size_t>(selectedEnemy_);
    showEditFailure(dialogs_, edits::setEnemy(document_->doc(), at, e, "Change Enemy Type", &at));
    selectEnemy(static_cast<int>(at));
    highlightActor(mapView->markerPicture(MapMarker::Enemy, selectedEnemy_), true, false);
}

void frmMain::cmbItemList_Click(int index)
{
    const auto& items = doc().currentScene().items;
    if (!doc().hasScene() || static_cast<std::size_t>(selectedItem_) >= items.size() || index < 0)
        return;
    ItemRecord item = items[static_cast<std::size_t>(selectedItem_)];
    item.id = static_cast<std::uint8_t>(cmbItemList->itemData(index).toInt());
    std::size_t at = static_cast<std::size_t>(selectedItem_);
    showEditFailure(dialogs_, edits::setItem(document_->doc(), at, item, "Change Item Type", &at));
    selectItem(static_cast<int>(at));
}

void frmMain::txtEnemyEdit_B_DblClick() { promptEnemyB(); }
void frmMain::txtItemEdit_X_DblClick() { promptItemX(); }

void frmMain::promptEnemyB()
{
    if (!doc().hasScene() || doc().currentScene().enemies.empty())
        return;
    const int limit = enemyBLimit(doc().currentScene());
    const std::optional<QString> typed = dialogs_.inputBox(qs(enemyBPrompt(limit)), QString());
    const PositionAnswer a = readPositionAnswer(typed ? std::optional(ss(*typed)) : std::nullopt, limit, "Enemy B");
    if (a.kind == PositionAnswer::Kind::Empty) {
        dialogs_.message("Enemy not moved!");
        return;
    }
    if (a.kind == PositionAnswer::Kind::NotHex) {
        dialogs_.message(qs(a.reason), Dialogs::Icon::Exclamation);
        return;
    }
    if (a.kind == PositionAnswer::Kind::OutOfRange) {
        dialogs_.message("Value is outside stage length!", Dialogs::Icon::Exclamation);
        return;
    }
    const auto& enemies = doc().currentScene().enemies;
    std::size_t at = std::min(static_cast<std::size_t>(selectedEnemy_), enemies.size() - 1);
    EnemyRecord e = enemies[at];
    e.b = a.value;
    showEditFailure(dialogs_, edits::setEnemy(document_->doc(), at, e, "Move Enemy Base", &at));
    selectEnemy(static_cast<int>(at));
}

void frmMain::promptItemX()
{
    if (!doc().hasScene() || doc().currentScene().items.empty())
        return;
    const int limit = itemXLimit(doc().currentScene());
    const std::optional<QString> typed = dialogs_.inputBox(qs(itemXPrompt(limit)), QString());
    const PositionAnswer a = readPositionAnswer(typed ? std::optional(ss(*typed)) : std::nullopt, limit, "Item X");
    if (a.kind == PositionAnswer::Kind::Empty) {
        dialogs_.message("Item not moved!");
        return;
    }
    if (a.kind == PositionAnswer::Kind::NotHex) {
        dialogs_.message(qs(a.reason), Dialogs::Icon::Exclamation);
        return;
    }
    if (a.kind == PositionAnswer::Kind::OutOfRange) {
        dialogs_.message("Value is outside stage length!", Dialogs::Icon::Exclamation);
        return;
    }
    const auto& items = doc().currentScene().items;
    std::size_t at = std::min(static_cast<std::size_t>(selectedItem_), items.size() - 1);
    ItemRecord item = items[at];
    item.x = a.value;
    showEditFailure(dialogs_, edits::setItem(document_->doc(), at, item, "Move Item", &at));
    selectItem(static_cast<int>(at));
}

// --- Dragging ---
//
// A press records where the pointer took hold; while the button is held the picture shows where
// a release there would put it (a drop outside the map puts it back); the release makes the edit.

bool frmMain::dropInside(QPoint point) const
{
    return dropInsideMap(point.x(), point.y(), mapView->toMap(picRenderDest->width()),
                         mapView->toMap(picRenderDest->height()));
}

void frmMain::startDrag(MapMarker marker, int index)
{
    drag_ = Drag{};
    drag_.marker = marker;
    drag_.index = index;
    QWidget* picture = marker == MapMarker::PlayerLine ? mapView->markerPicture(MapMarker::Enemy, selectedEnemy_)
                                                       : mapView->markerPicture(marker, index);
    if (picture)
        drag_.pictureOrigin = picture->pos();
    drag_.highlightOrigin = lblSelActorHighlight->pos();
    drag_.lineOrigin = linePlayerPos->pos();
}

void frmMain::showDragAt(QPoint offset, int lineX)
{
    const MapMarker pictureMarker = drag_.marker == MapMarker::PlayerLine ? MapMarker::Enemy : drag_.marker;
    const int pictureIndex = drag_.marker == MapMarker::PlayerLine ? selectedEnemy_ : drag_.index;
    if (QWidget* picture = mapView->markerPicture(pictureMarker, pictureIndex))
        picture->move(drag_.pictureOrigin + mapView->toView(offset));
    if (drag_.marker != MapMarker::PlayerStart)
        lblSelActorHighlight->move(drag_.highlightOrigin + mapView->toView(offset));
    if (lineX >= 0)
        linePlayerPos->move(mapView->toView(QPoint(lineX, 0)).x(), drag_.lineOrigin.y());
}

void frmMain::endDrag()
{
    if (drag_.marker != MapMarker::None)
        showDragAt(QPoint(), drag_.marker == MapMarker::PlayerLine ? mapView->toMap(drag_.lineOrigin.x()) : -1);
    drag_ = Drag{};
}

void frmMain::picEnemy_MouseDown(int index, QPoint point)
{
    selectEnemy(index, point);
    if (editMode_ == EditMode::Enemies && selectedEnemy_ == index)
        startDrag(MapMarker::Enemy, index);
}

void frmMain::picEnemy_MouseMove(int index, QPoint point)
{
    if (drag_.marker != MapMarker::Enemy || drag_.index != index)
        return;
    const EnemyRecord& e = doc().currentScene().enemies[static_cast<std::size_t>(index)];
    const EnemyRecord to = dropInside(point) ? dragEnemy(e, point.x() - enemyGrab_.x(), point.y() - enemyGrab_.y()) : e;
    const PixelOffset o = enemyPictureOffset(e, to);
    showDragAt(QPoint(o.dx, o.dy), -1);
}

void frmMain::picEnemy_MouseUp(int index, QPoint point)
{
    const bool mine = drag_.marker == MapMarker::Enemy && drag_.index == index;
    endDrag();
    const auto& enemies = doc().currentScene().enemies;
    if (!mine || static_cast<std::size_t>(index) >= enemies.size() || !dropInside(point))
        return;
    const EnemyRecord to = dragEnemy(enemies[static_cast<std::size_t>(index)], point.x() - enemyGrab_.x(),
                                     point.y() - enemyGrab_.y());
    std::size_t at = static_cast<std::size_t>(index);
    showEditFailure(dialogs_, edits::setEnemy(document_->doc(), at, to, "Move Enemy", &at));
    followEnemy(static_cast<int>(at), true, true);
}

void frmMain::picPwrUp_MouseDown(int index, QPoint point)
{
    selectItem(index, point);
    if (editMode_ == EditMode::Items && selectedItem_ == index)
        startDrag(MapMarker::Item, index);
}

void frmMain::picPwrUp_MouseMove(int index, QPoint point)
{
    if (drag_.marker != MapMarker::Item || drag_.index != index)
        return;
    const ItemRecord& item = doc().currentScene().items[static_cast<std::size_t>(index)];
    const ItemRecord to = dropInside(point) ? dragItem(item, point.x() - itemGrab_.x(), point.y() - itemGrab_.y()) : item;
    const PixelOffset o = itemPictureOffset(item, to);
    showDragAt(QPoint(o.dx, o.dy), -1);
}

void frmMain::picPwrUp_MouseUp(int index, QPoint point)
{
    const bool mine = drag_.marker == MapMarker::Item && drag_.index == index;
    endDrag();
    const auto& items = doc().currentScene().items;
    if (!mine || static_cast<std::size_t>(index) >= items.size() || !dropInside(point))
        return;
    const ItemRecord to =
        dragItem(items[static_cast<std::size_t>(index)], point.x() - itemGrab_.x(), point.y() - itemGrab_.y());
    std::size_t at = static_cast<std::size_t>(index);
    showEditFailure(dialogs_, edits::setItem(document_->doc(), at, to, "Move Item", &at));
    followItem(static_cast<int>(at), true);
}

void frmMain::linePlayerPos_MouseDown(QPoint point)
{
    if (!doc().hasScene() || doc().currentScene().enemies.empty())
        return;
    lineGrab_ = point;
    startDrag(MapMarker::PlayerLine, selectedEnemy_);
}

void frmMain::linePlayerPos_MouseMove(QPoint point)
{
    if (drag_.marker != MapMarker::PlayerLine)
        return;
    const auto& enemies = doc().currentScene().enemies;
    if (static_cast<std::size_t>(selectedEnemy_) >= enemies.size())
        return;
    const EnemyRecord& e = enemies[static_cast<std::size_t>(selectedEnemy_)];
    const EnemyRecord to = dropInside(point) ? dragEnemyBase(e, point.x() - lineGrab_.x()) : e;
    const PixelOffset o = enemyPictureOffset(e, to);
    showDragAt(QPoint(o.dx, o.dy), playerLineX(to));
}

void frmMain::linePlayerPos_MouseUp(QPoint point)
{
    const bool mine = drag_.marker == MapMarker::PlayerLine;
    endDrag();
    const auto& enemies = doc().currentScene().enemies;
    if (!mine || static_cast<std::size_t>(selectedEnemy_) >= enemies.size() || !dropInside(point))
        return;
    std::size_t at = static_cast<std::size_t>(selectedEnemy_);
    const EnemyRecord to = dragEnemyBase(enemies[at], point.x() - lineGrab_.x());
    showEditFailure(dialogs_, edits::setEnemy(document_->doc(), at, to, "Move Enemy Base", &at));
    followEnemy(static_cast<int>(at), true, false);
}

void frmMain::picMainCharacterSpawn_MouseDown(QPoint point)
{
    if (!doc().hasScene())
        return;
    startGrab_ = point;
    startDrag(MapMarker::PlayerStart, 0);
}

void frmMain::picMainCharacterSpawn_MouseMove(QPoint point)
{
    if (drag_.marker != MapMarker::PlayerStart)
        return;
    const SceneRecord& s = doc().currentScene();
    const StartPosition to = dragStart({s.startX, s.startY}, point.x() - startGrab_.x(), point.y() - startGrab_.y());
    showDragAt(QPoint(to.x - s.startX, to.y - s.startY), -1);
}

void frmMain::picMainCharacterSpawn_MouseUp(QPoint point)
{
    const bool mine = drag_.marker == MapMarker::PlayerStart;
    endDrag();
    if (!mine || !doc().hasScene())
        return;
    const SceneRecord& s = doc().currentScene();
    // Where the start is dropped does not matter: it moves by the pointer's movement.
    const StartPosition to = dragStart({s.startX, s.startY}, point.x() - startGrab_.x(), point.y() - startGrab_.y());
    showEditFailure(dialogs_, edits::moveStart(document_->doc(), to.x, to.y));
}

// --- Keyboard ---

bool frmMain::moveSelectedActorByKey(const QKeyEvent& key)
{
    if (!doc().hasScene() || drag_.marker != MapMarker::None)
        return false;
    int dx = 0;
    int dy = 0;
    switch (key.key()) {
    case Qt::Key_Left: dx = -16; break;
    case Qt::Key_Right: dx = 16; break;
    case Qt::Key_Up: dy = -16; break;
    case Qt::Key_Down: dy = 16; break;
    default: return false;
    }
    const SceneRecord& s = doc().currentScene();
    const bool shift = key.modifiers() & Qt::ShiftModifier;
    if (editMode_ == EditMode::Enemies && static_cast<std::size_t>(selectedEnemy_) < s.enemies.size()) {
        std::size_t at = static_cast<std::size_t>(selectedEnemy_);
        const EnemyRecord& e = s.enemies[at];
        // Shift moves the enemy's screen (its b) along with the player line, as dragging the line does.
        if (shift && dx == 0)
            return true;
        const EnemyRecord to = shift ? dragEnemyBase(e, dx) : dragEnemy(e, dx, dy);
        showEditFailure(dialogs_,
                        edits::setEnemy(document_->doc(), at, to, shift ? "Move Enemy Base" : "Move Enemy", &at));
        followEnemy(static_cast<int>(at), true, !shift);
        return true;
    }
    if (editMode_ == EditMode::Items && static_cast<std::size_t>(selectedItem_) < s.items.size()) {
        std::size_t at = static_cast<std::size_t>(selectedItem_);
        showEditFailure(dialogs_, edits::setItem(document_->doc(), at, dragItem(s.items[at], dx, dy), "Move Item",
                                                 &at));
        followItem(static_cast<int>(at), true);
        return true;
    }
    return false;
}

}  // namespace velmar
