// A long random session of every kind of edit over many scenes, with undos and redos in between,
// checked against the plain application of the edits that remain done.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "core/text/text_image.h"
#include "editor/edits.h"
#include "mapview/map_view_rules.h"
#include "support/test_support.h"

namespace velmar {
namespace {

// One edit as a window makes it, its values drawn beforehand so that it can be made twice.
// Random edits are often refused (a cell below the map, an enemy the scene lacks, a resize that
// does not fit): a refusal is one more case the history has to agree with.
struct Edit {
    SceneKey scene;
    std::function<void(Document&)> change;
};

// Shows the edit's scene, then makes the edit.
void apply(Document& doc, const Edit& e)
{
    if (doc.selectScene(e.scene).ok())
        e.change(doc);
}

class RandomEdits {
public:
    explicit RandomEdits(unsigned seed) : random_(seed)
    {
        for (const AreaNode& node : areaCatalogue()) {
            if (auto key = parseSceneKey(node.key))
                scenes_.push_back(*key);
        }
    }

    Edit next()
    {
        const SceneKey scene = scenes_[pick(scenes_.size())];
        auto byte = [this] { return static_cast<std::uint8_t>(pick(256)); };
        const auto x = [this] { return static_cast<int>(pick(17 * 256)); };
        const auto y = [this] { return static_cast<int>(pick(176)); };
        auto edit = [&](std::function<void(Document&)> change) { return Edit{scene, std::move(change)}; };
        switch (pick(22)) {
        case 0:
        case 1:
        case 2:
        case 3:
            return edit(
                [x = x(), y = y(), m = byte()](Document& d) { (void)edits::placeMetatile(d, mapCellAt(x, y), m); });
        case 4:
        case 5: {
            std::vector<std::pair<int, int>> points;
            const int x0 = static_cast<int>(pick(4 * 256));
            for (std::size_t i = 0, n = 2 + pick(4); i < n; ++i)
                points.emplace_back(x0 + static_cast<int>(pick(96)), y());
            return edit([points, m = byte()](Document& d) {
                d.beginStroke({"Place Metatile", part::Map, points.front().first});
                for (const auto& [px, py] : points)
                    (void)edits::placeMetatile(d, mapCellAt(px, py), m);
                d.endStroke();
            });
        }
        case 6: return edit([](Document& d) { (void)edits::eraseMap(d); });
        case 7:
        case 8:
            return edit([i = pick(8), r = EnemyRecord{byte(), byte(), byte()}](Document& d) {
                (void)edits::setEnemy(d, i, r, "Move Enemy");
            });
        case 9:
            return edit(
                [i = pick(8),
                 r = ItemRecord{byte(), static_cast<std::uint8_t>(byte() & 0xF0), static_cast<std::uint8_t>(pick(16))}](
                    Document& d) { (void)edits::setItem(d, i, r, "Move Item"); });
        case 10:
            return edit([n = static_cast<int>(pick(17)), atEnd = pick(2) == 0,
                         pastEnd = static_cast<edits::ActorsPastEnd>(pick(3))](Document& d) {
                (void)edits::resizeMap(d, n, atEnd, pastEnd);
            });
        case 11: return edit([n = static_cast<int>(pick(7))](Document& d) { (void)edits::resizeItems(d, n); });
        case 12: return edit([n = static_cast<int>(pick(7))](Document& d) { (void)edits::resizeEnemies(d, n); });
        case 13: {
            std::string text;
            for (std::size_t i = 0, n = pick(12); i < n; ++i)
                text += pick(8) == 0 ? std::string("\\n") : std::string(1, static_cast<char>('A' + pick(26)));
            return edit([n = pick(113), text = text + "\\0"](Document& d) {
                const CharTable table = test::defaultTable();
                TextList texts = decodeAllTexts(d.romData(), table);
                if (!texts.status.ok())
                    return;
                texts.texts[n] = text;
                (void)edits::packTexts(d, table, texts.texts);
            });
        }
        case 14:
        case 15:
        case 16:
            return edit([t = pick(2) ? edits::PatternTable::Background : edits::PatternTable::Sprite, tile = byte(),
                         px = static_cast<int>(pick(8)), py = static_cast<int>(pick(8)),
                         v = static_cast<std::uint8_t>(pick(4))](Document& d) {
                (void)edits::paintPixel(d, t, tile, px, py, v);
            });
        case 17:
            return edit([x = static_cast<int>(pick(0x900)), y = static_cast<int>(pick(176)), id = byte(),
                         kind = pick(2) ? ActorKind::Enemy : ActorKind::Item](Document& d) {
                if (d.hasScene())
                    (void)edits::addActor(
                        d, actorAtPoint(kind, kind == ActorKind::Item ? id & 0x0F : id, x, y, d.currentScene().length));
            });
        case 18:
            return edit(
                [i = pick(10), kind = pick(2) ? ActorKind::Enemy : ActorKind::Item, copy = pick(2) == 0](Document& d) {
                    (void)(copy ? edits::duplicateActor(d, kind, i) : edits::deleteActor(d, kind, i));
                });
        default:
            return edit([i = static_cast<int>(pick(32)), c = static_cast<std::uint8_t>(pick(64))](Document& d) {
                (void)edits::setPaletteEntry(d, i, c);
            });
        }
    }

    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }

private:
    std::mt19937 random_;
    std::vector<SceneKey> scenes_;
};

TEST(EditHistoryProperty, UndoAndRedoAgreeWithThePlainEditsAtEveryStep)
{
    const RomImage& loaded = test::sampleImage();
    Document doc;
    ASSERT_TRUE(doc.openImage(loaded, "game.nes").ok());

    // expected[k]: the image after the first k steps that are done, each made once on a fresh
    // document holding expected[k - 1], with no history in play.
    std::vector<Bytes> expected = {loaded.romData};
    RandomEdits random(20261207);
    int edits = 0;
    int recorded = 0;
    for (int round = 0; edits < 320; ++round) {
        const std::size_t roll = random.pick(10);
        if (roll < 2 && doc.canUndo()) {
            ASSERT_TRUE(doc.undo().ok());
        } else if (roll < 3 && doc.canRedo()) {
            ASSERT_TRUE(doc.redo().ok());
        } else {
            const Edit e = random.next();
            ++edits;
            const std::size_t before = doc.history().doneCount();
            apply(doc, e);
            if (doc.history().doneCount() == before) {
                ASSERT_EQ(doc.romData(), expected[before])
                    << "round " << round << ": an edit that is no step changes nothing";
                continue;
            }
            ++recorded;
            Document plain;
            ASSERT_TRUE(
                plain.openImage({.romHeader = loaded.romHeader, .trainer = {}, .romData = expected[before]}, "game.nes")
                    .ok());
            apply(plain, e);
            expected.resize(before + 1);
            expected.push_back(plain.romData());
        }
        ASSERT_EQ(doc.romData(), expected[doc.history().doneCount()]) << "round " << round;
    }
    EXPECT_GE(recorded, 150) << "most edits should change something";

    const Bytes last = doc.romData();
    const std::size_t steps = doc.history().doneCount();
    while (doc.canUndo())
        ASSERT_TRUE(doc.undo().ok());
    EXPECT_EQ(doc.romData(), loaded.romData);
    EXPECT_FALSE(doc.hasUnsavedChanges());
    for (std::size_t i = 0; i < steps; ++i)
        ASSERT_TRUE(doc.redo().ok());
    EXPECT_EQ(doc.romData(), last);
}

}  // namespace
}  // namespace velmar
