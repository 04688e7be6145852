// libFuzzer target: arbitrary bytes as an image, and as patches over the sample image.
//
// Input shorter than a whole image is also laid over a copy of the sample image, so that the
// fuzzer mutates real tables instead of noise:
//   byte 0      which region of the image the patch goes into (see kRegions)
//   bytes 1-2   the offset inside that region, little-endian, modulo its size
//   bytes 3..   the patch, cut off at the end of the image
// The first bytes also choose the sizes that the resize operations are asked for.
//
// In one input of four, one scene it picks is also drawn: sheet, map, actors, editor views.
//
// Besides "no crash, no leak, no undefined behaviour" it checks two promises: a resize that does
// not change the scene touches neither the image nor the record, and a text pack that refuses
// writes nothing.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "actors/actor_drawing.h"
#include "expansion/actor_packer.h"
#include "expansion/map_packer.h"
#include "gfx/background_editor_views.h"
#include "gfx/metatile_render.h"
#include "gfx/pattern_tiles.h"
#include "rom/address_map.h"
#include "rom/area_catalogue.h"
#include "rom/rom_file.h"
#include "rom/scene_codec.h"
#include "sample/sample_rom.h"
#include "text/text_codec.h"
#include "text/text_packer.h"

namespace {

using namespace velmar;

struct Region {
    RomOffset start;
    RomOffset end;
};

// The tables the editor reads, in romData offsets.
constexpr std::array<Region, 8> kRegions{{
    {0x2C30, 0x4000},                         // scene and stage tables, palettes (bank 0)
    {0x0000, 0x2C30},                         // packed maps (bank 0)
    {0x4000, 0x8000},                         // subtile, metatile and attribute tables (bank 1)
    {0x8700, 0xC000},                         // actor pointers and packed actor tables (bank 2)
    {0x152D0, 0x18000},                       // text pointers and packed texts (bank 5)
    {0x1F6C0, 0x1F700},                       // shared palette selectors (fixed bank)
    {rommap::kChrStart, rommap::kImageSize},  // pattern banks
    {0, rommap::kImageSize},                  // anywhere
}};

// Sizes for the resize operations, derived from the input; a few of them out of range on purpose.
struct Sizes {
    std::array<std::uint8_t, 16> bytes{};

    std::uint8_t at(std::size_t i) const { return bytes[i % bytes.size()]; }
    int mapLength(std::size_t scene) const { return at(scene) % 19; }  // 17, 18 invalid
    bool atEnd(std::size_t scene) const { return (at(scene + 5) & 1) != 0; }
    int count(std::size_t scene, std::size_t salt) const
    {
        const std::uint8_t b = at(scene + salt);
        return b == 0xFF ? 256 + at(scene + salt + 1) : b;  // above 255 invalid
    }
    // Drawing a scene costs as much as all the rest of an input: one input in four draws one.
    bool drawn() const { return (at(6) & 3) == 0; }
    // Which scenes are resized: every resize repacks all 48 scenes, so resizing every scene of
    // every input would cost most of the run for little. Bytes 8-15 pick about a quarter of them.
    bool resized(std::size_t scene) const
    {
        const std::size_t bit = scene % 32;
        const auto mask = [this](std::size_t first) {
            return static_cast<std::uint32_t>(bytes[first] | (bytes[first + 1] << 8) | (bytes[first + 2] << 16)
                                              | (static_cast<std::uint32_t>(bytes[first + 3]) << 24));
        };
        return ((mask(8) & mask(12)) >> bit & 1u) != 0;
    }
};

const CharTable& defaultTable()
{
    static const CharTable table = [] {
        CharTable t;
        applyDefaultCharTable(t);
        return t;
    }();
    return table;
}

const Bytes& sampleFile()
{
    static const Bytes file = buildSampleRom().fileBytes();
    return file;
}

[[noreturn]] void broken(const char* what)
{
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

// A resize that returns anything but Changed must leave image and record exactly as they were.
// Checking costs two copies of the image, so only the scene the input picks is checked.
template <typename Resize> void resize(Bytes& rom, SceneRecord& scene, bool check, Resize run, const char* what)
{
    if (!check) {
        (void)run(rom, scene);  // unchecked: any outcome will do
        return;
    }
    const Bytes romBefore = rom;
    const SceneRecord sceneBefore = scene;
    const Outcome<ResizeResult> result = run(rom, scene);
    if (!result.ok() && (rom != romBefore || !(scene == sceneBefore)))
        broken(what);
}

// The pictures of one scene: its metatile sheet, its map, every actor composed over the map, and
// the background editor's views; whatever the frames, animations and handler pointers hold.
void draw(const Bytes& rom, const SceneRecord& scene, const MetatileTables& tables,
          const std::map<int, PixelArray>& banks)
{
    static const PixelArray kNoBank(1, 0);
    const auto spr = banks.find(scene.sprBank);
    const auto bkg = banks.find(scene.bkgBank);
    const PixelArray& sprPatterns = spr == banks.end() ? kNoBank : spr->second;
    const PixelArray& bkgPatterns = bkg == banks.end() ? kNoBank : bkg->second;
    Bitmap sheet(kSheetSize, kSheetSize, 0);
    drawMetatileSheet(sheet, tables, bkgPatterns, 0, 255, scene.palette);
    Bitmap map;
    renderMap(map, sheet, scene);
    const ActorCanvas canvas{sprPatterns, bkgPatterns, scene.palette, map};
    for (const ActorPicture& p : drawAllEnemies(rom, scene, canvas))
        pastePicture(map, p);
    for (const ActorPicture& p : drawAllItems(rom, scene, canvas))
        pastePicture(map, p);
    pastePicture(map, drawPlayerStart(rom, scene, canvas));
    BackgroundEditorViews views;
    BackgroundEditorSelection sel;
    sel.tile = scene.startX;
    sel.subtile = scene.startY;
    sel.metatile = scene.map.empty() ? 0 : scene.map[0];
    sel.tilePalette = scene.time & 3;
    redrawAll(views, bkgPatterns, tables, scene.palette, sel);
}

// Every scene of the tree in turn, as the editor switches through them: decode the scene, its
// metatile tables and its two pattern banks, store the scene back, then resize the scenes the
// input picks. The image goes on from there, so later scenes see what earlier ones wrote.
void exerciseScenes(Bytes& rom, const Sizes& sizes)
{
    const RomOffset actorEnd = actorAreaEnd(rom);
    // Scenes share pattern banks; decoding a bank again finds nothing new, so each is decoded once.
    std::map<int, PixelArray> banks;
    auto openBank = [&](int bank) {
        if (banks.count(bank) != 0)
            return;
        PixelArray pixels;
        if (loadChrBank(rom, pixels, bank).ok())
            banks.emplace(bank, std::move(pixels));
    };

    const std::size_t checkedScene = sizes.at(7) % 32;
    std::size_t index = 0;
    for (const AreaNode& node : areaCatalogue()) {
        const std::optional<SceneKey> key = parseSceneKey(node.key);
        if (!key)
            continue;
        const bool check = index == checkedScene;
        ++index;
        SceneRecord scene;
        if (!loadScene(rom, key->stage, key->scene, scene).ok())
            continue;
        openBank(scene.sprBank);
        openBank(scene.bkgBank);
        MetatileTables tables;
        (void)loadMetatileTables(rom, scene, tables);
        if (check && sizes.drawn())
            draw(rom, scene, tables, banks);
        if (!storeScene(rom, scene).ok() || !sizes.resized(index - 1))
            continue;

        resize(
            rom, scene, check,
            [&](Bytes& r, SceneRecord& s) { return resizeMap(r, s, sizes.mapLength(index), sizes.atEnd(index)); },
            "resizeMap");
        resize(
            rom, scene, check,
            [&](Bytes& r, SceneRecord& s) { return resizeItems(r, s, sizes.count(index, 1), actorEnd); },
            "resizeItems");
        resize(
            rom, scene, check,
            [&](Bytes& r, SceneRecord& s) { return resizeEnemies(r, s, sizes.count(index, 2), actorEnd); },
            "resizeEnemies");
    }
}

void exerciseTexts(Bytes& rom, const std::uint8_t* data, std::size_t size)
{
    const CharTable& table = defaultTable();
    const RomOffset areaEnd = textAreaEnd(rom);

    // Input-derived editable texts: the raw bytes, and the same bytes as printable characters so
    // that backslash sequences and hexadecimal parameters come up often.
    const std::size_t n = std::min<std::size_t>(size, 512);
    const std::string raw(reinterpret_cast<const char*>(data), n);
    std::string printable = raw;
    for (char& c : printable)
        c = static_cast<char>(0x20 + (static_cast<unsigned char>(c) % 0x5F));
    (void)encodeText(table, raw);
    (void)encodeText(table, printable);

    TextList list = decodeAllTexts(rom, table);
    if (!list.status.ok())
        return;
    if (list.texts.size() != static_cast<std::size_t>(rommap::kTextCount))
        broken("decodeAllTexts gave a partial list");
    const std::size_t which = n == 0 ? 0 : data[0] % list.texts.size();
    list.texts[which] = printable;
    const Bytes before = rom;
    const TextPackOutcome packed = packTexts(rom, table, list.texts, areaEnd);
    if (!packed.ok() && rom != before)
        broken("packTexts wrote after refusing");
}

void exercise(Bytes& rom, const std::uint8_t* data, std::size_t size)
{
    Sizes sizes;
    std::copy_n(data, std::min(size, sizes.bytes.size()), sizes.bytes.begin());
    exerciseScenes(rom, sizes);
    exerciseTexts(rom, data, size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Bytes input(data, data + size);
    RomImage image;
    if (parseRomFile(input, image).ok())
        exercise(image.romData, data, size);

    const Bytes& sample = sampleFile();
    if (size >= 3 && size < sample.size()) {
        const Region& region = kRegions[data[0] % kRegions.size()];
        const auto span = static_cast<std::size_t>(region.end - region.start);
        const std::size_t offset =
            static_cast<std::size_t>(region.start) + (static_cast<std::size_t>(data[1] | (data[2] << 8)) % span);
        Bytes file = sample;
        const std::size_t at = 16 + offset;
        const std::size_t count = std::min(size - 3, file.size() - at);
        std::copy_n(data + 3, count, file.begin() + static_cast<std::ptrdiff_t>(at));
        if (parseRomFile(file, image).ok())
            exercise(image.romData, data + 3, size - 3);
    }
    return 0;
}
