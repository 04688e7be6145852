#include "windows/frm_rom_expansion.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "actors/map_end.h"
#include "editor/edits.h"
#include "expansion/actor_packer.h"
#include "expansion/area_room.h"
#include "expansion/map_packer.h"
#include "windows/editor_context.h"
#include "qt_bridge.h"
#include "base/hex.h"

namespace velmar {

namespace {

QString plural(int n, const char* one, const char* many) { return QString("%1 %2").arg(n).arg(n == 1 ? one : many); }

// "Map area: 10321 of 11826 bytes used, 1505 left." and, for a size that does not fit, how
// much is missing.
QString roomText(const char* area, const std::optional<AreaRoom>& room)
{
    if (!room)
        return QString("%1: the tables of some scene cannot be read.").arg(area);
    QString text = QString("%1: %2 of %3 bytes used, ")
                       .arg(area)
                       .arg(QString::number(room->used), QString::number(room->capacity));
    if (room->fits())
        return text + QString("%1 left.").arg(QString::number(room->left()));
    return text + QString("%1 too many: it does not fit.").arg(QString::number(-room->left()));
}

QLineEdit* valueBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setAccessibleName(caption);
    e->setToolTip("Two hexadecimal digits");
    e->setMaxLength(8);
    e->setFixedWidth(60);
    return e;
}

}  // namespace

frmRomExpansion::frmRomExpansion(const EditorContext& context) : QDialog(&context.window()), ctx_(context.over(*this))
{
    setObjectName("frmRomExpansion");
    setWindowTitle("Scene Editor");
    setAccessibleName("Scene Editor");
    setModal(true);

    frmSceneExpander = new QGroupBox("Map Size", this);
    frmSceneExpander->setObjectName("frmSceneExpander");
    frmSceneExpander->setAccessibleName("Map Size");
    txtNewLength = valueBox(frmSceneExpander, "txtNewLength", "New length");
    txtNewLength->setToolTip("The number of screens less one, 00 to 10");
    optInsert = new QRadioButton("Left", frmSceneExpander);
    optInsert->setObjectName("optInsert");
    optInsert->setAccessibleName("Add or drop screens on the left");
    optAppend = new QRadioButton("Right", frmSceneExpander);
    optAppend->setObjectName("optAppend");
    optAppend->setAccessibleName("Add or drop screens on the right");
    lblMapRoom = new QLabel(frmSceneExpander);
    lblMapRoom->setObjectName("lblMapRoom");
    lblMapRoom->setWordWrap(true);
    lblMapRoom->setAccessibleName("Room in the map area");
    auto* lengthCaption = new QLabel("New length:", frmSceneExpander);
    lengthCaption->setAccessibleName("New length");
    lengthCaption->setBuddy(txtNewLength);
    auto* sideCaption = new QLabel("Screens on the:", frmSceneExpander);
    sideCaption->setAccessibleName("Screens on the");
    auto* map = new QGridLayout(frmSceneExpander);
    map->addWidget(lengthCaption, 0, 0);
    map->addWidget(txtNewLength, 0, 1);
    map->addWidget(sideCaption, 1, 0);
    map->addWidget(optInsert, 1, 1);
    map->addWidget(optAppend, 1, 2);
    map->addWidget(lblMapRoom, 2, 0, 1, 4);
    map->setColumnStretch(3, 1);

    frmActorExpander = new QGroupBox("Count", this);
    frmActorExpander->setObjectName("frmActorExpander");
    frmActorExpander->setAccessibleName("Count");
    lblActorCount_Old = new QLabel("00", frmActorExpander);
    lblActorCount_Old->setObjectName("lblActorCount_Old");
    txtActorCount_New = valueBox(frmActorExpander, "txtActorCount_New", "New count");
    txtActorCount_New->setToolTip("00 to FF");
    lblActorRoom = new QLabel(frmActorExpander);
    lblActorRoom->setObjectName("lblActorRoom");
    lblActorRoom->setWordWrap(true);
    lblActorRoom->setAccessibleName("Room in the actor area");
    auto* oldCaption = new QLabel("Current count:", frmActorExpander);
    oldCaption->setAccessibleName("Current count");
    auto* newCaption = new QLabel("New count:", frmActorExpander);
    newCaption->setAccessibleName("New count");
    newCaption->setBuddy(txtActorCount_New);
    auto* actors = new QGridLayout(frmActorExpander);
    actors->addWidget(oldCaption, 0, 0);
    actors->addWidget(lblActorCount_Old, 0, 1);
    actors->addWidget(newCaption, 1, 0);
    actors->addWidget(txtActorCount_New, 1, 1);
    actors->addWidget(lblActorRoom, 2, 0, 1, 3);
    actors->setColumnStretch(2, 1);

    cmdOk = new QPushButton("OK", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setAccessibleName("OK");
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setAccessibleName("Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frmSceneExpander);
    layout->addWidget(frmActorExpander);
    layout->addLayout(buttons);
    setMinimumWidth(380);

    connect(cmdOk, &QPushButton::clicked, this, &frmRomExpansion::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmRomExpansion::cmdCancel_Click);
    connect(txtNewLength, &QLineEdit::textChanged, this, &frmRomExpansion::txtNewLength_Change);
    connect(txtActorCount_New, &QLineEdit::textChanged, this, &frmRomExpansion::txtActorCount_New_Change);
}

void frmRomExpansion::initGUI(int editType)
{
    ok_ = false;
    cancel_ = false;
    editType_ = editType;
    const SceneRecord& scene = ctx_.doc().currentScene();
    switch (editType) {
    case Map:
        frmSceneExpander->show();
        frmActorExpander->hide();
        optAppend->setChecked(true);
        txtNewLength->setText(qs(hexPad(scene.length, 2)));
        txtNewLength->selectAll();
        txtNewLength->setFocus();
        break;
    case Items:
    case Enemies: {
        frmSceneExpander->hide();
        frmActorExpander->show();
        const int count = editType == Items ? scene.itemCount : scene.enemyCount;
        frmActorExpander->setTitle(editType == Items ? "Item Count" : "Enemy Count");
        frmActorExpander->setAccessibleName(frmActorExpander->title());
        lblActorCount_Old->setText(qs(hexPad(count, 2)));
        lblActorCount_Old->setAccessibleName("Current count: " + lblActorCount_Old->text());
        txtActorCount_New->setText(qs(hexPad(count, 2)));
        txtActorCount_New->selectAll();
        txtActorCount_New->setFocus();
        break;
    }
    default:
        ctx_.dialogs().message("Error in romExpansion.initGUI()!", Dialogs::Icon::Critical);
        close();
        return;
    }
    adjustSize();
}

HexByte frmRomExpansion::typedLength() const
{
    return readHexByte(ss(txtNewLength->text()), "New length", rommap::kMaxMapLength);
}

HexByte frmRomExpansion::typedCount() const
{
    return readHexByte(ss(txtActorCount_New->text()), editType_ == Items ? "Item count" : "Enemy count");
}

void frmRomExpansion::txtNewLength_Change()
{
    if (!ctx_.doc().hasScene())
        return;
    const HexByte typed = typedLength();
    if (!typed.ok()) {
        lblMapRoom->setText(qs(typed.reason));
    } else {
        const int n = typed.value;
        const auto room = mapAreaRoom(ctx_.doc().romData(), ctx_.doc().currentScene(), n);
        lblMapRoom->setText(QString("%1: the map takes %2 bytes (now %3). ")
                                .arg(plural(n + 1, "screen", "screens"))
                                .arg(room ? room->sceneBytes : 0)
                                .arg(room ? room->sceneBytesNow : 0)
                            + roomText("Map area", room));
    }
    lblMapRoom->setAccessibleDescription(lblMapRoom->text());
}

void frmRomExpansion::txtActorCount_New_Change()
{
    const Document& doc = ctx_.doc();
    if (!doc.hasScene())
        return;
    const HexByte typed = typedCount();
    const SceneRecord& s = doc.currentScene();
    const bool items = editType_ == Items;
    if (!typed.ok()) {
        lblActorRoom->setText(qs(typed.reason));
    } else {
        const int n = typed.value;
        const auto room =
            actorAreaRoom(doc.romData(), s, items ? n : s.itemCount, items ? s.enemyCount : n, doc.actorAreaEnd());
        lblActorRoom->setText(QString("%1: the tables take %2 bytes (now %3). ")
                                  .arg(plural(n, items ? "item" : "enemy", items ? "items" : "enemies"))
                                  .arg(room ? room->sceneBytes : 0)
                                  .arg(room ? room->sceneBytesNow : 0)
                              + roomText("Actor area", room));
    }
    lblActorRoom->setAccessibleDescription(lblActorRoom->text());
}

void frmRomExpansion::cmdOk_Click()
{
    ok_ = true;
    close();
}

void frmRomExpansion::cmdCancel_Click()
{
    cancel_ = true;
    close();
}

void frmRomExpansion::closeEvent(QCloseEvent* event)
{
    // The work is done as the dialog goes, and only when OK sent it.
    if (ok_ && !ctx_.exiting() && ctx_.doc().hasScene()) {
        if (editType_ == Map && !resizeMap()) {
            ok_ = false;
            event->ignore();
            return;
        }
        if ((editType_ == Items || editType_ == Enemies) && !resizeActors()) {
            ok_ = false;
            event->ignore();
            return;
        }
    }
    QDialog::closeEvent(event);
}

void frmRomExpansion::refuseTyped(QLineEdit* box, int current, const HexByte& typed)
{
    // The box shows the scene's value again before the message, selected for typing over.
    box->setText(qs(hexPad(current, 2)));
    box->selectAll();
    box->setFocus();
    ctx_.dialogs().message(qs(typed.reason), Dialogs::Icon::Exclamation);
}

bool frmRomExpansion::resizeMap()
{
    const int length = ctx_.doc().currentScene().length;
    const HexByte typed = typedLength();
    if (!typed.ok()) {
        refuseTyped(txtNewLength, length, typed);
        return false;
    }
    const int n = typed.value;
    const bool atEnd = !optInsert->isChecked();
    edits::ActorsPastEnd pastEnd = edits::ActorsPastEnd::Refuse;
    // A shrink drops screens for good: the user sees how many go first, and which actors would
    // then stand past the new end, where the map no longer shows them.
    if (n < length) {
        const int dropped = length - n;
        const QString shrink = QString("The map has %1. Shrinking it to %2 drops %3 %4.")
                                   .arg(plural(length + 1, "screen", "screens"), plural(n + 1, "screen", "screens"),
                                        dropped == 1 ? "the last screen" : QString("the %1 screens").arg(dropped),
                                        atEnd ? "on the right (the end)" : "on the left (the start)");
        const SceneRecord& now = ctx_.doc().currentScene();
        SceneRecord shrunk = now;
        shrunk.length = static_cast<std::uint8_t>(n);
        const std::vector<ActorRef> beyond = placedBeyondEnd(now, shrunk);
        bool shrinkIt = false;
        if (beyond.empty()) {
            shrinkIt = ctx_.dialogs().askYesNo(shrink + "\nDrop them?") == Dialogs::Answer::Yes;
        } else {
            const Dialogs::Answer answer = ctx_.dialogs().askYesNoCancel(
                shrink + "\n" + qs(actorCountText(beyond))
                + " would then stand past the map's end, where the map does not show them:\n"
                + qs(actorNameLines(now, beyond))
                + "\n\nYes: remove them with the screens. No: keep them past the end. Cancel: change nothing.");
            shrinkIt = answer != Dialogs::Answer::Cancel;
            pastEnd = answer == Dialogs::Answer::Yes ? edits::ActorsPastEnd::Remove : edits::ActorsPastEnd::Keep;
        }
        if (!shrinkIt) {
            txtNewLength->selectAll();
            txtNewLength->setFocus();
            return false;
        }
    }
    const Outcome<ResizeResult> r = edits::resizeMap(ctx_.document().doc(), n, atEnd, pastEnd);
    if (r.code == ResizeResult::Unchanged)
        return true;
    if (r.ok())
        ctx_.reportSuccess(qs(resizeMapMessage(r)));
    else
        ctx_.dialogs().message(qs(resizeMapMessage(r)), Dialogs::Icon::Exclamation);
    return true;
}

bool frmRomExpansion::resizeActors()
{
    Document& doc = ctx_.document().doc();
    const HexByte typed = typedCount();
    if (!typed.ok()) {
        const SceneRecord& s = doc.currentScene();
        refuseTyped(txtActorCount_New, editType_ == Items ? s.itemCount : s.enemyCount, typed);
        return false;
    }
    const int n = typed.value;
    // Lowering the count removes the last actors of the list: they are named, and nothing goes
    // unless the user says so.
    const ActorKind kind = editType_ == Items ? ActorKind::Item : ActorKind::Enemy;
    const auto count = static_cast<int>(actorCount(doc.currentScene(), kind));
    if (n < count) {
        std::vector<ActorRef> going;
        for (int i = n; i < count; ++i)
            going.push_back({kind, static_cast<std::size_t>(i)});
        const char* many = kind == ActorKind::Item ? "items" : "enemies";
        const QString question =
            QString("The scene has %1 %2. Lowering the count to %3 removes %4:\n%5\nRemove %6?")
                .arg(count)
                .arg(count == 1 ? (kind == ActorKind::Item ? "item" : "enemy") : many)
                .arg(n)
                .arg(going.size() == 1 ? QString("the last one") : QString("the last %1").arg(going.size()))
                .arg(qs(actorNameLines(doc.currentScene(), going)))
                .arg(going.size() == 1 ? "it" : "them");
        if (ctx_.dialogs().askYesNo(question) != Dialogs::Answer::Yes) {
            txtActorCount_New->selectAll();
            txtActorCount_New->setFocus();
            return false;
        }
    }
    const Outcome<ResizeResult> r = editType_ == Items ? edits::resizeItems(doc, n) : edits::resizeEnemies(doc, n);
    if (r.code == ResizeResult::Unchanged)
        return true;
    // A refusal (tables that no longer fit) is said too: nothing changed.
    const QString text = qs(editType_ == Items ? resizeItemsMessage(r) : resizeEnemiesMessage(r));
    if (r.ok())
        ctx_.reportSuccess(text);
    else
        ctx_.dialogs().message(text, Dialogs::Icon::Exclamation);
    return true;
}

void frmRomExpansion::keyPressEvent(QKeyEvent* event)
{
    // Escape is Cancel; Enter is OK (the default button).
    if (event->key() == Qt::Key_Escape) {
        cmdCancel_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace velmar
