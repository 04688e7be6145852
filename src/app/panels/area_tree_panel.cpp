#include "panels/area_tree_panel.h"

#include <QGuiApplication>
#include <QHeaderView>

#include "dialogs.h"
#include "editor_document.h"
#include "qt_bridge.h"
#include "base/hex.h"

namespace velmar {

namespace {

constexpr int kKeyRole = Qt::UserRole + 1;

}  // namespace

AreaTreePanel::AreaTreePanel(EditorDocument& document, Dialogs& dialogs, QWidget* parent)
    : QTreeWidget(parent), document_(document), dialogs_(dialogs)
{
    setObjectName("tvAreaList");
    setAccessibleName("Scenes");
    setHeaderHidden(true);
    // The scenes of a stage share their caption; the second column numbers them.
    setColumnCount(2);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    // Room for "Stage 2-1" at its depth and the scene number beside it.
    setMinimumWidth(fontMetrics().horizontalAdvance("Stage 0-0   00") + 2 * indentation() + 24);
    connect(this, &QTreeWidget::itemClicked, this, &AreaTreePanel::nodeClick);
    connect(this, &QTreeWidget::itemActivated, this, &AreaTreePanel::nodeClick);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        // Keyboard navigation selects too; mouse clicks arrive through itemClicked.
        if (!building_ && node && QGuiApplication::mouseButtons() == Qt::NoButton)
            nodeClick(node);
    });
    connect(&document_, &EditorDocument::changed, this, &AreaTreePanel::document_Changed);
}

void AreaTreePanel::build()
{
    building_ = true;
    clear();
    std::vector<QTreeWidgetItem*> nodes;
    for (const AreaNode& n : areaCatalogue()) {
        QTreeWidgetItem* item =
            n.parent < 0 ? new QTreeWidgetItem(this) : new QTreeWidgetItem(nodes[static_cast<std::size_t>(n.parent)]);
        item->setText(0, QString::fromLatin1(n.caption.data(), static_cast<int>(n.caption.size())));
        item->setData(0, kKeyRole, QString::fromLatin1(n.key.data(), static_cast<int>(n.key.size())));
        if (const auto key = parseSceneKey(n.key)) {
            item->setText(1, qs(hexPad(key->scene, 2)));
            const QString title = qs(sceneTitle(*key));
            item->setToolTip(0, title);
            item->setToolTip(1, title);
        }
        nodes.push_back(item);
    }
    expandAll();
    building_ = false;
}

QTreeWidgetItem* AreaTreePanel::findNode(const QString& key)
{
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if ((*it)->data(0, kKeyRole).toString() == key)
            return *it;
    }
    return nullptr;
}

void AreaTreePanel::selectNode(const SceneKey& key)
{
    if (QTreeWidgetItem* node = findNode(qs(sceneKeyText(key)))) {
        building_ = true;
        setCurrentItem(node);
        building_ = false;
    }
}

void AreaTreePanel::nodeClick(QTreeWidgetItem* node)
{
    if (!node)
        return;
    const QString key = node->data(0, kKeyRole).toString();
    if (!isSceneKey(ss(key)))
        return;
    const auto sceneKey = parseSceneKey(ss(key));
    if (!sceneKey)
        return;
    Document& doc = document_.doc();
    const RomStatus s = doc.selectScene(*sceneKey);
    if (!s.ok()) {
        dialogs_.message("This scene cannot be shown: " + qs(s.message()), Dialogs::Icon::Exclamation);
        // The tree points at the scene still shown (none, when the first scene of a file fails).
        if (doc.sceneKey())
            selectNode(*doc.sceneKey());
        return;
    }
    selectNode(*sceneKey);
}

void AreaTreePanel::document_Changed(const DocumentEvent& event)
{
    if (event.sceneSwitched && document_.doc().hasScene())
        selectNode(*document_.doc().sceneKey());
}

}  // namespace velmar
