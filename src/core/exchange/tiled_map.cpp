#include "exchange/tiled_map.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <optional>

#include "actors/actor_drawing.h"
#include "actors/actor_placement.h"
#include "exchange/json_fields.h"
#include "gfx/metatile_render.h"
#include "gfx/png_file.h"
#include "mapview/scene_view.h"
#include "rom/address_map.h"
#include "rom/rom_file.h"

namespace velmar {

namespace {

using exchange::hexValue;
using exchange::Json;
using exchange::quoteValue;
using exchange::readHexDigits;
using exchange::Wrong;
using OrderedJson = exchange::Json;

constexpr int kRows = 6;
constexpr int kColumns = 8;  // map columns per screen
constexpr int kActorSize = 16;
// Where an actor of row 0 stands: its bottom edge at 202, below the map (see actorBottomY).
constexpr int kRowZeroTop = 202 - kActorSize;

std::size_t cellIndex(int column, int row)
{
    return static_cast<std::size_t>((column / kColumns) * rommap::kScreenBytes + (column % kColumns) * kRows + row);
}

int startBase(const SceneDescription& d) { return d.property(SceneProperty::Direction) ? d.length * kScreenWidth : 0; }

OrderedJson property(const std::string& name, const std::string& value)
{
    return OrderedJson{{"name", name}, {"type", "string"}, {"value", value}};
}

// The map's custom properties, by name as Tiled sorts them: one for each property of the scene's
// table, the places of a list in one text ("00 01 02 03").
OrderedJson mapProperties(const SceneDescription& d)
{
    std::map<std::string, std::string> texts;
    for (const ScenePropertyRow& row : scenePropertyRows()) {
        std::string& text = texts[row.fileKey];
        text += (text.empty() ? "" : " ") + propertyText(row, d.property(row.property));
    }
    OrderedJson list = OrderedJson::array();
    for (const auto& [name, text] : texts)
        list.push_back(property(name, text));
    return list;
}

OrderedJson actorObject(int id, const char* kind, TiledPoint at, OrderedJson properties)
{
    OrderedJson o = {{"id", id},       {"name", ""},          {"type", kind},         {"x", at.x},
                     {"y", at.y},      {"width", kActorSize}, {"height", kActorSize}, {"rotation", 0},
                     {"visible", true}};
    if (!properties.empty())
        o["properties"] = std::move(properties);
    return o;
}

// ---- reading ----

std::string objectPlace(std::size_t index, const Json& o)
{
    std::string where = "object " + std::to_string(index);
    if (o.is_object() && o.contains("id") && o["id"].is_number_integer())
        where += " (id " + quoteValue(o["id"]) + ")";
    return where;
}

// A number of the map (a size, a place), read as a whole pixel; Tiled may write places with
// fractions after a drag that did not snap.
int pixel(const Json& j, const std::string& where)
{
    if (!j.is_number())
        throw Wrong{where, "must be a number"};
    const double v = j.get<double>();
    if (!std::isfinite(v) || std::abs(v) > 1e6)
        throw Wrong{where, "far outside the map"};
    return static_cast<int>(std::lround(v));
}

const Json& need(const Json& j, const std::string& where, const char* name)
{
    if (!j.is_object())
        throw Wrong{where, "must be an object { ... }"};
    if (!j.contains(name))
        throw Wrong{where, std::string("\"") + name + "\" is missing"};
    return j[name];
}

// Custom properties by name. A value is hexadecimal digits in a text, or a whole number, should
// the user have made it an int property in Tiled.
struct Properties {
    const Json* list = nullptr;
    std::string where;

    const Json* find(const std::string& name) const
    {
        if (!list)
            return nullptr;
        for (const Json& p : *list) {
            if (p.is_object() && p.contains("name") && p["name"] == name && p.contains("value"))
                return &p["value"];
        }
        return nullptr;
    }

    const Json& value(const std::string& name) const
    {
        const Json* v = find(name);
        if (!v)
            throw Wrong{where, "the property \"" + name + "\" is missing"};
        return *v;
    }

    std::uint8_t hex(const std::string& name, int max) const
    {
        const Json& v = value(name);
        const std::string place = where + ", property " + name;
        if (v.is_number_integer()) {
            // Read as the kind of number it is: 18446744073709551615 is no -1.
            const bool inRange = v.is_number_unsigned() ? v.get<std::uint64_t>() <= static_cast<std::uint64_t>(max)
                                                        : v.get<std::int64_t>() >= 0 && v.get<std::int64_t>() <= max;
            if (!inRange)
                throw Wrong{place, quoteValue(v) + " is not 0 to " + std::to_string(max)};
            return static_cast<std::uint8_t>(v.get<std::uint64_t>());
        }
        return hexValue(v, place, max);
    }

    // A property of the scene's table: its word or digits, or for a place of a list (the palette
    // selectors) the list's values in one text, "00 01 02 03".
    std::uint8_t tableValue(const ScenePropertyRow& row) const
    {
        if (row.words[0])
            return exchange::propertyValueOf(row, value(row.fileKey), where + ", property " + row.fileKey);
        if (row.fileElement < 0)
            return hex(row.fileKey, row.max);
        const Json& v = value(row.fileKey);
        const std::string place = where + ", property " + row.fileKey;
        const std::size_t size = exchange::propertyListSize(row);
        const std::string example = "write " + std::to_string(size) + " values as \"00 01 02 03\"";
        if (!v.is_string())
            throw Wrong{place, example};
        std::vector<std::uint8_t> out;
        const std::string& text = v.get_ref<const std::string&>();
        std::size_t at = 0;
        while ((at = text.find_first_not_of(' ', at)) != std::string::npos) {
            const std::size_t end = std::min(text.find(' ', at), text.size());
            if (out.size() == size)
                throw Wrong{place, example};
            out.push_back(readHexDigits(text.substr(at, end - at), place, row.max));
            at = end;
        }
        if (out.size() != size)
            throw Wrong{place, example};
        return out[static_cast<std::size_t>(row.fileElement)];
    }
};

Properties propertiesOf(const Json& owner, const std::string& where)
{
    Properties p{nullptr, where};
    if (owner.contains("properties")) {
        if (!owner["properties"].is_array())
            throw Wrong{where, "\"properties\" must be a list"};
        p.list = &owner["properties"];
    }
    return p;
}

void readMap(const Json& layer, SceneDescription& d)
{
    const std::string where = "the tile layer";
    const int width = pixel(need(layer, where, "width"), where + " width");
    const int height = pixel(need(layer, where, "height"), where + " height");
    if (height != kRows)
        throw Wrong{where, std::to_string(height) + " rows, not 6"};
    if (width < kColumns || width % kColumns != 0 || width / kColumns > rommap::kMaxMapLength + 1) {
        throw Wrong{where,
                    std::to_string(width) + " columns: a scene is 1 to " + std::to_string(rommap::kMaxMapLength + 1)
                        + " screens of 8"};
    }
    if (layer.contains("encoding") && layer["encoding"] != "csv")
        throw Wrong{where, "store the layer as CSV (Map Properties, Tile Layer Format) to import it"};
    if (layer.contains("compression") && layer["compression"] != "")
        throw Wrong{where, "store the layer as CSV (Map Properties, Tile Layer Format) to import it"};
    const Json& data = need(layer, where, "data");
    if (!data.is_array() || data.size() != static_cast<std::size_t>(width * height))
        throw Wrong{where, "the data must be " + std::to_string(width * height) + " cells"};

    d.length = static_cast<std::uint8_t>(width / kColumns - 1);
    d.map.assign(static_cast<std::size_t>(d.length + 1) * rommap::kScreenBytes, 0);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < width; ++c) {
            const Json& gid = data[static_cast<std::size_t>(r * width + c)];
            const std::string cell = "map cell (column " + std::to_string(c) + ", row " + std::to_string(r) + ")";
            if (!gid.is_number_unsigned())
                throw Wrong{cell, "not a tile number"};
            const auto g = gid.get<std::uint64_t>();
            if (g == 0)
                throw Wrong{cell, "no tile; every cell holds a metatile"};
            if (g < kTiledFirstGid || g >= kTiledFirstGid + 256)
                throw Wrong{cell, "tile " + std::to_string(g) + " is not a metatile (flipped, or of another tileset)"};
            d.map[cellIndex(c, r)] = static_cast<std::uint8_t>(g - kTiledFirstGid);
        }
    }
}

void readObjects(const Json& layer, SceneDescription& d, bool& startSeen, std::size_t& index)
{
    const Json& objects = need(layer, "the object layer", "objects");
    if (!objects.is_array())
        throw Wrong{"the object layer", "\"objects\" must be a list"};
    for (const Json& o : objects) {
        const std::string where = objectPlace(index++, o);
        const Json* kindValue = o.is_object() && o.contains("type") ? &o["type"]
            : o.is_object() && o.contains("class")                  ? &o["class"]
                                                                    : nullptr;
        const std::string kind = kindValue && kindValue->is_string() ? kindValue->get<std::string>() : std::string();
        const int x = pixel(need(o, where, "x"), where + " x");
        const int y = pixel(need(o, where, "y"), where + " y");
        const Properties p = propertiesOf(o, where);
        if (kind == "enemy") {
            if (d.enemies.size() == 0xFF)
                throw Wrong{where, "a scene holds at most 255 enemies"};
            const EnemyRecord anchor{p.hex("b", 0xFF), 0x00, p.hex("type", 0xFF)};
            d.enemies.push_back(dragEnemy(anchor, x - anchor.b * 16, y - kRowZeroTop));
        } else if (kind == "item") {
            if (d.items.size() == 0xFF)
                throw Wrong{where, "a scene holds at most 255 items"};
            const ItemRecord anchor{0x00, 0x00, p.hex("type", 0x0F)};
            d.items.push_back(dragItem(anchor, x, y - kRowZeroTop));
        } else if (kind == "start") {
            if (startSeen)
                throw Wrong{where, "a second player start"};
            startSeen = true;
            // The start's x counts from its screen, which the direction and the length decide;
            // both are read before the objects.
            const StartPosition s = dragStart({0, 0}, x - startBase(d), y);
            d.startX = s.x;
            d.startY = s.y;
        } else {
            throw Wrong{where, "its class " + quoteValue(kind) + " is not enemy, item or start"};
        }
    }
}

SceneDescription readDescription(const Json& top)
{
    if (!top.is_object() || !top.contains("orientation") || top["orientation"] != "orthogonal")
        throw Wrong{"The file", "is not an orthogonal Tiled map"};
    if (need(top, "the map", "tilewidth") != 32 || need(top, "the map", "tileheight") != 32)
        throw Wrong{"the map", "its tiles must be 32 x 32"};
    const Json& tilesets = need(top, "the map", "tilesets");
    if (!tilesets.is_array() || tilesets.size() != 1 || !tilesets[0].is_object() || !tilesets[0].contains("firstgid")
        || tilesets[0]["firstgid"] != kTiledFirstGid)
        throw Wrong{"the map", "it must have the one tileset of metatiles it was exported with"};

    SceneDescription d;
    const Properties p = propertiesOf(top, "the map");
    for (const ScenePropertyRow& row : scenePropertyRows())
        d.property(row.property) = p.tableValue(row);

    const Json& layers = need(top, "the map", "layers");
    if (!layers.is_array())
        throw Wrong{"the map", "\"layers\" must be a list"};
    const Json* tiles = nullptr;
    for (const Json& layer : layers) {
        const Json& type = need(layer, "a layer", "type");
        if (type == "tilelayer") {
            if (tiles)
                throw Wrong{"the map", "it has more than one tile layer"};
            tiles = &layer;
        } else if (type != "objectgroup") {
            throw Wrong{"the map",
                        "a layer of type " + quoteValue(type) + ": only the tile layer and object layers import"};
        }
    }
    if (!tiles)
        throw Wrong{"the map", "it has no tile layer"};
    readMap(*tiles, d);

    bool startSeen = false;
    std::size_t index = 0;
    for (const Json& layer : layers) {
        if (layer["type"] == "objectgroup")
            readObjects(layer, d, startSeen, index);
    }
    if (!startSeen)
        throw Wrong{"the map", "it has no object of class start (the player start)"};
    return d;
}

}  // namespace

TiledPoint tiledEnemyPlace(const EnemyRecord& e) { return {actorScreenX(e.b, e.xy), actorBottomY(e.xy) - kActorSize}; }

TiledPoint tiledItemPlace(const ItemRecord& i) { return {actorScreenX(i.x, i.y), actorBottomY(i.y) - kActorSize}; }

TiledPoint tiledStartPlace(const SceneDescription& d) { return {startBase(d) + d.startX, d.startY}; }

std::string writeTiledMap(const SceneDescription& d, const std::string& imageName)
{
    const int width = (d.length + 1) * kColumns;
    OrderedJson data = OrderedJson::array();
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < width; ++c) {
            const std::size_t i = cellIndex(c, r);
            data.push_back((i < d.map.size() ? d.map[i] : 0) + kTiledFirstGid);
        }
    }
    OrderedJson objects = OrderedJson::array();
    int id = 1;
    objects.push_back(actorObject(id++, "start", tiledStartPlace(d), OrderedJson::array()));
    objects.back()["point"] = true;
    objects.back()["width"] = 0;
    objects.back()["height"] = 0;
    for (const EnemyRecord& e : d.enemies) {
        objects.push_back(actorObject(id++, "enemy", tiledEnemyPlace(e),
                                      {property("b", hexPad(e.b, 2)), property("type", hexPad(e.id, 2))}));
    }
    for (const ItemRecord& i : d.items)
        objects.push_back(actorObject(id++, "item", tiledItemPlace(i), {property("type", hexPad(i.id, 1))}));

    const OrderedJson map = {
        {"type", "map"},
        {"version", "1.8"},
        {"orientation", "orthogonal"},
        {"renderorder", "right-down"},
        {"infinite", false},
        {"width", width},
        {"height", kRows},
        {"tilewidth", kMetatileSize},
        {"tileheight", kMetatileSize},
        {"nextlayerid", 3},
        {"nextobjectid", id},
        {"properties", mapProperties(d)},
        {"tilesets",
         {{{"firstgid", kTiledFirstGid},
           {"name", "metatiles"},
           {"image", imageName},
           {"imagewidth", kSheetSize},
           {"imageheight", kSheetSize},
           {"tilewidth", kMetatileSize},
           {"tileheight", kMetatileSize},
           {"tilecount", 256},
           {"columns", 16},
           {"margin", 0},
           {"spacing", 0}}}},
        {"layers",
         {{{"id", 1},
           {"name", "map"},
           {"type", "tilelayer"},
           {"x", 0},
           {"y", 0},
           {"width", width},
           {"height", kRows},
           {"opacity", 1},
           {"visible", true},
           {"data", data}},
          {{"id", 2},
           {"name", "actors"},
           {"type", "objectgroup"},
           {"draworder", "index"},
           {"x", 0},
           {"y", 0},
           {"opacity", 1},
           {"visible", true},
           {"objects", objects}}}},
    };
    return map.dump(1) + "\n";
}

Outcome<SceneImportResult> readTiledMap(std::string_view text, SceneDescription& out)
{
    SceneDescription d;
    if (std::string fault = exchange::readJson(
            text, [&](const Json& top) { d = readDescription(top); }, "JSON (a Tiled map saved as .tmj)");
        !fault.empty())
        return Outcome<SceneImportResult>::failure(SceneImportResult::BadFile, std::move(fault));
    out = std::move(d);
    return {};
}

Bitmap tiledTileset(const SceneState& scene)
{
    SceneView view;
    drawSceneSheet(scene, view);
    return view.sheet;
}

std::string tiledImageName(const std::string& mapPath)
{
    return pathToUtf8(pathFromUtf8(mapPath).stem()) + "-metatiles.png";
}

Outcome<WriteResult> exportTiled(const Document& doc, const std::string& mapPath)
{
    using R = Outcome<WriteResult>;
    if (!doc.hasScene())
        return R::failure(WriteResult::IoError, "No scene is shown.");
    // The map is the user's file; the tileset's name is the program's, made from the map's, so a
    // link someone left at that name is not written through. Both are checked before either is
    // written.
    const std::string image = tiledImageName(mapPath);
    const std::filesystem::path imagePath = pathFromUtf8(mapPath).parent_path() / pathFromUtf8(image);
    const std::string text = writeTiledMap(describeScene(doc.currentScene()), image);
    const Bytes png = encodePng(tiledTileset(doc.scene()));
    if (png.empty())
        return R::failure(WriteResult::IoError, "The tileset could not be encoded as PNG.");
    using Target = std::pair<std::filesystem::path, FileOwner>;
    for (const auto& [path, owner] :
         {Target{imagePath, FileOwner::Program}, Target{pathFromUtf8(mapPath), FileOwner::User}}) {
        if (R r = checkWritable(path, false, owner); !r.ok())
            return R::failure(r.code, fileMessage("Unknown I/O error!", pathToUtf8(path), r.reason));
    }
    if (R r = writeFileSafely(imagePath, png, false, FileOwner::Program); !r.ok())
        return R::failure(r.code, fileMessage("Unknown I/O error!", pathToUtf8(imagePath), r.reason));
    if (R r = writeFileSafely(pathFromUtf8(mapPath), Bytes(text.begin(), text.end()), false, FileOwner::User); !r.ok())
        return R::failure(r.code, fileMessage("Unknown I/O error!", mapPath, r.reason));
    return {};
}

Outcome<SceneImportResult> importTiledMap(Document& doc, std::string_view text, SharedValues shared)
{
    SceneDescription d;
    if (Outcome<SceneImportResult> read = readTiledMap(text, d); !read.ok())
        return read;
    return importScene(doc, d, shared, "Import from Tiled");
}

}  // namespace velmar
