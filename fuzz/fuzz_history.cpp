// libFuzzer target: the document's undo history. The sample image (with, now and then, a few
// bytes of its scene tables replaced) is opened, a sequence of edits decoded from the input is
// made through the named edits (place metatiles, strokes, erase the map, set enemies and items,
// move the start, scene properties and palette selectors, palette entries, paint pixels,
// resizes, store the scene, select another scene, undo and redo), then every step is undone and
// done again.
//
// Promises checked:
//  - an edit that is refused, fails or changes nothing leaves the image as it was and records
//    nothing; one that records a step is one step more in the history;
//  - after every undo and redo the image is exactly what it was after that step (or when the file
//    was opened), and the scene of the step decodes;
//  - once every step is undone the image is the opened one and nothing is unsaved.

#include <array>

#include "editor/document.h"
#include "editor/edits.h"
#include "fuzz_support.h"
#include "rom/address_map.h"

namespace {

using namespace velmar;
using velmar::fuzz::Region;

constexpr std::array<Region, 6> kTables{{
    {rommap::kMapPointers, 0x60},
    {rommap::kBackColourSprBank, 0x30},
    {rommap::kDirectionLength, 0x90},  // lengths and start positions
    {rommap::kItemCounts, 0x60},
    {rommap::kTilesets, 0xC6},
    {rommap::kActorAreaStart, 0x200},
}};

// The images the history can go back and forth between: states[0] is the opened image,
// states[k] the image after step k; `done` steps are done.
struct Model {
    std::vector<Bytes> states;
    std::size_t done = 0;
};

void expectImage(const Document& doc, const Bytes& expected, const char* what)
{
    if (doc.romData() != expected)
        fuzz::broken(what);
}

// Takes the result of one edit: a new step, or nothing changed at all.
void record(const Document& doc, Model& m, std::size_t stepsBefore)
{
    const std::size_t steps = doc.history().doneCount();
    if (steps == stepsBefore + 1) {
        m.states.resize(m.done + 1);
        m.states.push_back(doc.romData());
        m.done = steps;
        if (doc.history().canRedo())
            fuzz::broken("a new step left steps to redo");
        return;
    }
    if (steps != stepsBefore)
        fuzz::broken("one edit made more than one step");
    expectImage(doc, m.states[m.done], "an edit that recorded nothing changed the image");
}

void step(Document& doc, Model& m, bool back)
{
    const bool possible = back ? m.done > 0 : m.done + 1 < m.states.size();
    if (possible != (back ? doc.canUndo() : doc.canRedo()))
        fuzz::broken("the history offers other steps than were made");
    const Outcome<EditResult> r = back ? doc.undo() : doc.redo();
    if (!possible) {
        if (r.ok())
            fuzz::broken("an undo or redo without a step succeeded");
        return;
    }
    if (!r.ok())
        fuzz::broken("the scene of an undone or redone step does not decode");
    if (back)
        --m.done;
    else
        ++m.done;
    expectImage(doc, m.states[m.done], back ? "an undo left another image" : "a redo left another image");
}

std::uint8_t byte(FuzzedDataProvider& in) { return in.ConsumeIntegral<std::uint8_t>(); }

void edit(Document& doc, FuzzedDataProvider& in, Model& m)
{
    const std::size_t stepsBefore = doc.history().doneCount();
    const std::size_t enemies = doc.currentScene().enemies.size();
    const std::size_t items = doc.currentScene().items.size();
    switch (in.ConsumeIntegralInRange<int>(0, 19)) {
    case 0:
    case 1: {
        const SceneKey& key = fuzz::sceneKeys()[byte(in) % fuzz::sceneKeys().size()];
        (void)doc.selectScene(key);
        break;
    }
    case 2:
        (void)edits::placeMetatile(
            doc, {in.ConsumeIntegralInRange<int>(-2, 160), in.ConsumeIntegralInRange<int>(-2, 7)}, byte(in));
        break;
    case 3: {
        // A stroke: the cells it crosses become one step, or none when they are painted back.
        doc.beginStroke({"Paint Map", part::Map, -1});
        const int cells = in.ConsumeIntegralInRange<int>(1, 6);
        for (int k = 0; k < cells; ++k)
            (void)edits::placeMetatile(
                doc, {in.ConsumeIntegralInRange<int>(0, 18), in.ConsumeIntegralInRange<int>(0, 5)}, byte(in));
        doc.endStroke();
        break;
    }
    case 4: (void)edits::eraseMap(doc); break;
    case 5: {
        const std::size_t index = in.ConsumeIntegralInRange<std::size_t>(0, enemies);
        (void)edits::setEnemy(doc, index, {byte(in), byte(in), byte(in)}, "Move Enemy");
        break;
    }
    case 6: {
        const std::size_t index = in.ConsumeIntegralInRange<std::size_t>(0, items);
        (void)edits::setItem(doc, index, {byte(in), static_cast<std::uint8_t>(byte(in) & 0xF0), byte(in)}, "Move Item");
        break;
    }
    case 7: (void)edits::moveStart(doc, byte(in), byte(in)); break;
    case 8: {
        const auto property = in.ConsumeIntegralInRange<std::size_t>(0, kScenePropertyCount - 1);
        (void)edits::setSceneProperty(doc, static_cast<SceneProperty>(property), byte(in));
        break;
    }
    case 9: {
        // The background editor's and the tile panels' edits; a quarter or palette outside 0..3
        // is refused.
        const int quarter = in.ConsumeIntegralInRange<int>(-1, 4);
        const auto table = in.ConsumeBool() ? edits::PatternTable::Sprite : edits::PatternTable::Background;
        switch (in.ConsumeIntegralInRange<int>(0, 4)) {
        case 0: (void)edits::setSubtileTile(doc, byte(in), quarter, byte(in)); break;
        case 1: (void)edits::setMetatileSubtile(doc, byte(in), quarter, byte(in)); break;
        case 2: (void)edits::setAttributePalette(doc, byte(in), quarter, in.ConsumeIntegralInRange<int>(-1, 4)); break;
        case 3:
            (void)edits::transformTile(doc, table, byte(in),
                                       static_cast<edits::TileOperation>(in.ConsumeIntegralInRange<int>(0, 6)));
            break;
        default: (void)edits::copyTile(doc, table, byte(in), byte(in)); break;
        }
        break;
    }
    case 10: (void)edits::setPaletteEntry(doc, in.ConsumeIntegralInRange<int>(-1, 32), byte(in)); break;
    case 11:
        (void)edits::paintPixel(doc, in.ConsumeBool() ? edits::PatternTable::Sprite : edits::PatternTable::Background,
                                byte(in), in.ConsumeIntegralInRange<int>(-1, 8), in.ConsumeIntegralInRange<int>(-1, 8),
                                in.ConsumeIntegralInRange<std::uint8_t>(0, 4));
        break;
    case 12:
        (void)edits::resizeMap(doc, in.ConsumeIntegralInRange<int>(-1, 17), in.ConsumeBool(),
                               static_cast<edits::ActorsPastEnd>(in.ConsumeIntegralInRange<int>(0, 2)));
        break;
    case 13: (void)edits::resizeItems(doc, in.ConsumeIntegralInRange<int>(0, 40)); break;
    case 14: (void)edits::resizeEnemies(doc, in.ConsumeIntegralInRange<int>(0, 40)); break;
    case 15: (void)edits::storeScene(doc); break;
    case 16: step(doc, m, true); return;
    case 17: step(doc, m, false); return;
    case 18: {
        const bool enemy = in.ConsumeBool();
        const Actor a = enemy ? Actor(EnemyRecord{byte(in), byte(in), byte(in)})
                              : Actor(ItemRecord{byte(in), static_cast<std::uint8_t>(byte(in) & 0xF0), byte(in)});
        (void)edits::addActor(doc, a);
        break;
    }
    case 19: {
        const ActorKind kind = in.ConsumeBool() ? ActorKind::Enemy : ActorKind::Item;
        const std::size_t index = in.ConsumeIntegralInRange<std::size_t>(0, std::max(enemies, items));
        (void)(in.ConsumeBool() ? edits::duplicateActor(doc, kind, index) : edits::deleteActor(doc, kind, index));
        break;
    }
    }
    record(doc, m, stepsBefore);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::Workbench bench;
    FuzzedDataProvider in(data, size);
    const int edits = in.ConsumeIntegralInRange<int>(1, 12);
    if ((in.ConsumeIntegral<std::uint8_t>() & 3) == 3)
        bench.layPatches(in, 4, [](std::uint8_t pick, const Bytes&) { return kTables[pick % kTables.size()]; });
    RomImage image;
    image.romHeader = fuzz::sampleImage().romHeader;
    image.romData = bench.rom();
    bench.restore();

    Document doc;
    if (!doc.openImage(std::move(image), "fuzz.nes").ok())
        fuzz::broken("the sample image does not open");
    Model m;
    m.states.push_back(doc.romData());
    (void)doc.selectScene(fuzz::sceneKeys()[in.ConsumeIntegral<std::uint8_t>() % fuzz::sceneKeys().size()]);
    for (int k = 0; k < edits; ++k)
        edit(doc, in, m);

    while (m.done > 0)
        step(doc, m, true);
    if (doc.canUndo() || doc.hasUnsavedChanges())
        fuzz::broken("with every step undone the image is not the one opened");
    while (m.done + 1 < m.states.size())
        step(doc, m, false);
    if (doc.canRedo())
        fuzz::broken("with every step redone there is still one to redo");
    return 0;
}
