// A long random session of every kind of edit over many scenes, with undos and redos in between,
// checked against the plain application of the edits that remain done.
#include <gtest/gtest.h>

#include <random>
#include <variant>

#include "editor/edits.h"
#include "mapview/map_view_rules.h"
#include "support/test_support.h"

namespace velmar {
namespace {

struct Place { int x, y; std::uint8_t metatile; };
struct Stroke { std::vector<std::pair<int, int>> points; std::uint8_t metatile; };
struct Erase {};
struct SetEnemy { std::size_t index; EnemyRecord record; };
struct SetItem { std::size_t index; ItemRecord record; };
struct ResizeMap { int length; bool atEnd; };
struct ResizeItems { int count; };
struct ResizeEnemies { int count; };
struct EditText { int n; std::string text; };
struct Paint { edits::PatternTable table; std::uint8_t tile; int x, y; std::uint8_t value; };
struct Colour { int index; std::uint8_t colour; };

using Change = std::variant<Place, Stroke, Erase, SetEnemy, SetItem, ResizeMap, ResizeItems, ResizeEnemies,
                            EditText, Paint, Colour>;

struct Edit {
    SceneKey scene;
    Change change;
};

const CharTable& table()
{
    static const CharTable t = [] {
        CharTable c;
        applyDefaultCharTable(c);
        return c;
    }();
    return t;
}

// Shows the edit's scene, then makes the edit as a window would.
void apply(Document& doc, const Edit& e)
{
    if (!doc.selectScene(e.scene).ok())
        return;
    // Random edits are often refused (a cell below the map, an enemy the scene lacks, a resize
    // that does not fit): a refusal is one more case the history has to agree with.
    struct Visitor {
        Document& doc;
        void operator()(const Place& p) { (void)edits::placeMetatile(doc, mapCellAt(p.x, p.y), p.metatile); }
        void operator()(const Stroke& s)
        {
            doc.beginStroke({"Place Metatile", part::Map, s.points.front().first});
            for (const auto& [x, y] : s.points)
                (void)edits::placeMetatile(doc, mapCellAt(x, y), s.metatile);
            doc.endStroke();
        }
        void operator()(const Erase&) { (void)edits::eraseMap(doc); }
        void operator()(const SetEnemy& s) { (void)edits::setEnemy(doc, s.index, s.record, "Move Enemy"); }
        void operator()(const SetItem& s) { (void)edits::setItem(doc, s.index, s.record, "Move Item"); }
        void operator()(const ResizeMap& r) { (void)edits::resizeMap(doc, r.length, r.atEnd); }
        void operator()(const ResizeItems& r) { (void)edits::resizeItems(doc, r.count); }
        void operator()(const ResizeEnemies& r) { (void)edits::resizeEnemies(doc, r.count); }
        void operator()(const EditText& t)
        {
            TextList texts = decodeAllTexts(doc.romData(), table());
            if (!texts.status.ok())
                return;
            texts.texts[static_cast<std::size_t>(t.n)] = t.text;
            (void)edits::packTexts(doc, table(), texts.texts);
        }
        void operator()(const Paint& p) { (void)edits::paintPixel(doc, p.table, p.tile, p.x, p.y, p.value); }
        void operator()(const Colour& c) { (void)edits::setPaletteEntry(doc, c.index, c.colour); }
    };
    std::visit(Visitor{doc}, e.change);
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
        switch (pick(20)) {
        case 0: case 1: case 2: case 3: return {scene, Place{x(), y(), byte()}};
        case 4: case 5: {
            Stroke s{{}, byte()};
            const int x0 = static_cast<int>(pick(4 * 256));
            for (std::size_t i = 0, n = 2 + pick(4); i < n; ++i)
                s.points.emplace_back(x0 + static_cast<int>(pick(96)), y());
            return {scene, s};
        }
        case 6: return {scene, Erase{}};
        case 7: case 8: return {scene, SetEnemy{pick(8), {byte(), byte(), byte()}}};
        case 9: return {scene, SetItem{pick(8), {byte(), static_cast<std::uint8_t>(byte() & 0xF0),
                                                 static_cast<std::uint8_t>(pick(16))}}};
        case 10: return {scene, ResizeMap{static_cast<int>(pick(17)), pick(2) == 0}};
        case 11: return {scene, ResizeItems{static_cast<int>(pick(7))}};
        case 12: return {scene, ResizeEnemies{static_cast<int>(pick(7))}};
        case 13: {
            std::string text;
            for (std::size_t i = 0, n = pick(12); i < n; ++i)
                text += pick(8) == 0 ? std::string("\\n") : std::string(1, static_cast<char>('A' + pick(26)));
            return {scene, EditText{static_cast<int>(pick(113)), text + "\\0"}};
        }
        case 14: case 15: case 16:
            return {scene, Paint{pick(2) ? edits::PatternTable::Background : edits::PatternTable::Sprite, byte(),
                                 static_cast<int>(pick(8)), static_cast<int>(pick(8)),
                                 static_cast<std::uint8_t>(pick(4))}};
        default: return {scene, Colour{static_cast<int>(pick(32)), static_cast<std::uint8_t>(pick(64))}};
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
                ASSERT_EQ(doc.romData(), expected[before]) << "round " << round << ": an edit that is no step changes nothing";
                continue;
            }
            ++recorded;
            Document plain;
            ASSERT_TRUE(plain.openImage({.romHeader = loaded.romHeader, .trainer = {}, .romData = expected[before]}, "game.nes").ok());
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
