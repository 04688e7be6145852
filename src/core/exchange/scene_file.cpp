#include "exchange/scene_file.h"

#include <algorithm>
#include <vector>

#include "exchange/json_fields.h"
#include "rom/address_map.h"
#include "base/hex.h"
#include "rom/scene_codec.h"

namespace velmar {

namespace {

using exchange::hexValue;
using exchange::Json;
using exchange::propertyValueOf;
using exchange::quoteValue;
using exchange::Wrong;

constexpr int kRows = 6;
constexpr int kColumns = 8;  // map columns per screen

// ---- writing ----

// A value on one line, with a space after every colon and comma: {"x": "20", "y": "A0"}.
std::string oneLine(const Json& j)
{
    if (j.is_object()) {
        std::string s = "{";
        for (auto it = j.begin(); it != j.end(); ++it)
            s += (it == j.begin() ? "" : ", ") + Json(it.key()).dump() + ": " + oneLine(it.value());
        return s + "}";
    }
    if (j.is_array()) {
        std::string s = "[";
        for (std::size_t i = 0; i < j.size(); ++i)
            s += (i ? ", " : "") + oneLine(j[i]);
        return s + "]";
    }
    return j.dump();
}

std::string hex2(std::uint8_t v) { return hexPad(v, 2); }
std::string hex1(std::uint8_t v) { return hexPad(v, 1); }

std::size_t cellIndex(int column, int row)
{
    return static_cast<std::size_t>((column / kColumns) * rommap::kScreenBytes + (column % kColumns) * kRows + row);
}

// Where a property stands in the file: member `member` of the top, or of its object
// ("stage.time": member "time" of "stage").
struct FilePlace {
    std::string object;
    std::string member;
};

FilePlace filePlace(const ScenePropertyRow& row)
{
    const std::string key = row.fileKey;
    const std::size_t dot = key.find('.');
    if (dot == std::string::npos)
        return {{}, key};
    return {key.substr(0, dot), key.substr(dot + 1)};
}

void addOnce(std::vector<std::string>& names, const std::string& name)
{
    if (std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

// ---- reading ----

// Whether two member names differ in the case of their letters only ("sprbank", "sprBank").
bool sameLetters(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// The object at `where` with exactly the members named. An unknown member (a typing error that
// would otherwise be ignored) refuses the file before a missing one: a misspelt name is both, and
// the misspelling is what the user has to find.
const Json& object(const Json& j, const std::string& where, const std::vector<std::string>& members)
{
    if (!j.is_object())
        throw Wrong{where, "must be an object { ... }"};
    for (auto it = j.begin(); it != j.end(); ++it) {
        if (std::find(members.begin(), members.end(), it.key()) != members.end())
            continue;
        std::string why = "unknown member " + quoteValue(it.key());
        const auto near = std::find_if(members.begin(), members.end(), [&](const std::string& m) {
            return sameLetters(it.key(), m) && !j.contains(m);
        });
        if (near != members.end())
            why += " (did you mean \"" + *near + "\"?)";
        throw Wrong{where, why};
    }
    for (const std::string& m : members) {
        if (!j.contains(m))
            throw Wrong{where, "\"" + m + "\" is missing"};
    }
    return j;
}

std::string member(const std::string& where, const char* name) { return where.empty() ? name : where + "." + name; }
std::string element(const std::string& where, std::size_t i) { return where + "[" + std::to_string(i) + "]"; }

const Json& array(const Json& j, const std::string& where, std::size_t minSize, std::size_t maxSize)
{
    if (!j.is_array())
        throw Wrong{where, "must be a list [ ... ]"};
    if (j.size() < minSize || j.size() > maxSize) {
        throw Wrong{
            where,
            std::to_string(j.size()) + " entries, "
                + (minSize == maxSize ? "not " + std::to_string(minSize) : "at most " + std::to_string(maxSize))};
    }
    return j;
}

// The six rows of the map, each a text of (length + 1) * 8 metatile numbers.
Bytes readMap(const Json& j, std::uint8_t length)
{
    array(j, "map", kRows, kRows);
    const int columns = (length + 1) * kColumns;
    Bytes map(static_cast<std::size_t>(length + 1) * rommap::kScreenBytes);
    for (int r = 0; r < kRows; ++r) {
        const std::string where = element("map", static_cast<std::size_t>(r));
        const Json& row = j[static_cast<std::size_t>(r)];
        if (!row.is_string())
            throw Wrong{where, "must be a text of metatile numbers"};
        const std::string& text = row.get_ref<const std::string&>();
        int column = 0;
        std::size_t at = 0;
        while (true) {
            at = text.find_first_not_of(" \t", at);
            if (at == std::string::npos)
                break;
            const std::size_t end = std::min(text.find_first_of(" \t", at), text.size());
            if (column < columns) {
                map[cellIndex(column, r)] =
                    hexValue(Json(text.substr(at, end - at)), element(where, static_cast<std::size_t>(column)), 0xFF);
            }
            ++column;
            at = end;
        }
        if (column != columns) {
            throw Wrong{where,
                        std::to_string(column) + " metatiles, but a length of " + hex2(length) + " needs "
                            + std::to_string(columns)};
        }
    }
    return map;
}

// Reads the properties of the top (`inObjects` false) or of the objects in it ("stage").
void readProperties(const Json& top, SceneDescription& d, bool inObjects)
{
    std::vector<std::string> checked;
    for (const ScenePropertyRow& row : scenePropertyRows()) {
        const FilePlace place = filePlace(row);
        if (place.object.empty() == inObjects)
            continue;
        if (inObjects && std::find(checked.begin(), checked.end(), place.object) == checked.end()) {
            std::vector<std::string> inside;
            for (const ScenePropertyRow& other : scenePropertyRows()) {
                if (const FilePlace p = filePlace(other); p.object == place.object)
                    addOnce(inside, p.member);
            }
            object(top[place.object], place.object, inside);
            checked.push_back(place.object);
        }
        const Json& value = (inObjects ? top[place.object] : top)[place.member];
        if (row.fileElement < 0) {
            d.property(row.property) = propertyValueOf(row, value, row.fileKey);
        } else {
            const auto at = static_cast<std::size_t>(row.fileElement);
            const std::size_t size = exchange::propertyListSize(row);
            d.property(row.property) =
                propertyValueOf(row, array(value, row.fileKey, size, size)[at], element(row.fileKey, at));
        }
    }
}

SceneDescription readDescription(const Json& top)
{
    std::vector<std::string> members = {"format", "version", "length", "start", "map", "enemies", "items"};
    for (const ScenePropertyRow& row : scenePropertyRows()) {
        const FilePlace place = filePlace(row);
        addOnce(members, place.object.empty() ? place.member : place.object);
    }
    object(top, "", members);
    if (top["format"] != std::string(kSceneFileFormat))
        throw Wrong{"format", quoteValue(top["format"]) + " is not \"" + std::string(kSceneFileFormat) + "\""};
    if (top["version"] != kSceneFileVersion)
        throw Wrong{"version",
                    quoteValue(top["version"]) + ": this program reads version " + std::to_string(kSceneFileVersion)};

    SceneDescription d;
    d.length = hexValue(top["length"], "length", rommap::kMaxMapLength);
    readProperties(top, d, false);
    const Json& start = object(top["start"], "start", {"x", "y"});
    d.startX = hexValue(start["x"], "start.x", 0xFF);
    d.startY = hexValue(start["y"], "start.y", 0xFF);
    d.map = readMap(top["map"], d.length);

    const Json& enemies = array(top["enemies"], "enemies", 0, 0xFF);
    for (std::size_t i = 0; i < enemies.size(); ++i) {
        const std::string where = element("enemies", i);
        const Json& e = object(enemies[i], where, {"type", "b", "x", "y"});
        const std::uint8_t x = hexValue(e["x"], member(where, "x"), 0x0F);
        const std::uint8_t y = hexValue(e["y"], member(where, "y"), 0x0F);
        d.enemies.push_back({hexValue(e["b"], member(where, "b"), 0xFF), static_cast<std::uint8_t>(y << 4 | x),
                             hexValue(e["type"], member(where, "type"), 0xFF)});
    }
    const Json& items = array(top["items"], "items", 0, 0xFF);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string where = element("items", i);
        const Json& item = object(items[i], where, {"type", "x", "y"});
        d.items.push_back({hexValue(item["x"], member(where, "x"), 0xFF),
                           static_cast<std::uint8_t>(hexValue(item["y"], member(where, "y"), 0x0F) << 4),
                           hexValue(item["type"], member(where, "type"), 0x0F)});
    }
    readProperties(top, d, true);
    return d;
}

}  // namespace

std::string writeSceneFile(const SceneDescription& d)
{
    const int columns = (d.length + 1) * kColumns;
    Json map = Json::array();
    for (int r = 0; r < kRows; ++r) {
        std::string row;
        for (int c = 0; c < columns; ++c) {
            const std::size_t i = cellIndex(c, r);
            // Two spaces between screens, so that a person sees where one ends.
            row += (c == 0 ? "" : c % kColumns == 0 ? "  " : " ") + hex2(i < d.map.size() ? d.map[i] : 0);
        }
        map.push_back(row);
    }
    Json enemies = Json::array();
    for (const EnemyRecord& e : d.enemies) {
        enemies.push_back(Json{{"type", hex2(e.id)},
                               {"b", hex2(e.b)},
                               {"x", hex1(e.xy & 0x0F)},
                               {"y", hex1(static_cast<std::uint8_t>(e.xy >> 4))}});
    }
    Json items = Json::array();
    for (const ItemRecord& item : d.items) {
        items.push_back(
            Json{{"type", hex1(item.id)}, {"x", hex2(item.x)}, {"y", hex1(static_cast<std::uint8_t>(item.y >> 4))}});
    }
    // The properties: the scene's own beside its length, those of an object ("stage") in it.
    Json own = Json::object();
    Json inObjects = Json::object();
    for (const ScenePropertyRow& row : scenePropertyRows()) {
        const FilePlace place = filePlace(row);
        Json& into = place.object.empty() ? own[place.member] : inObjects[place.object][place.member];
        const std::string text = propertyText(row, d.property(row.property));
        if (row.fileElement < 0)
            into = text;
        else
            into[static_cast<std::size_t>(row.fileElement)] = text;
    }
    Json members = {{"format", kSceneFileFormat}, {"version", kSceneFileVersion}, {"length", hex2(d.length)}};
    members.update(own);
    members["start"] = {{"x", hex2(d.startX)}, {"y", hex2(d.startY)}};
    members["map"] = map;
    members["enemies"] = enemies;
    members["items"] = items;
    members.update(inObjects);
    // The lists a person reads down, one entry a line; everything else on one line.
    std::string text = "{\n";
    for (auto it = members.begin(); it != members.end(); ++it) {
        text += "  " + Json(it.key()).dump() + ": ";
        const Json& v = it.value();
        if (v.is_array() && !v.empty() && (it.key() == "map" || it.key() == "enemies" || it.key() == "items")) {
            text += "[\n";
            for (std::size_t i = 0; i < v.size(); ++i)
                text += "    " + oneLine(v[i]) + (i + 1 < v.size() ? ",\n" : "\n");
            text += "  ]";
        } else {
            text += oneLine(v);
        }
        text += std::next(it) != members.end() ? ",\n" : "\n";
    }
    return text + "}\n";
}

Outcome<SceneImportResult> readSceneFile(std::string_view text, SceneDescription& out)
{
    SceneDescription d;
    if (std::string fault = exchange::readJson(text, [&](const Json& top) { d = readDescription(top); });
        !fault.empty())
        return Outcome<SceneImportResult>::failure(SceneImportResult::BadFile, std::move(fault));
    out = std::move(d);
    return {};
}

std::string exportScene(const Document& doc)
{
    return doc.hasScene() ? writeSceneFile(describeScene(doc.currentScene())) : std::string();
}

RomStatus exportScene(const Bytes& rom, const SceneKey& key, std::string& text)
{
    SceneRecord scene;
    RomStatus status = loadScene(rom, key.stage, key.scene, scene);
    if (status.ok())
        text = writeSceneFile(describeScene(scene));
    return status;
}

Outcome<SceneImportResult> importSceneFile(Document& doc, std::string_view text, SharedValues shared)
{
    SceneDescription d;
    if (Outcome<SceneImportResult> read = readSceneFile(text, d); !read.ok())
        return read;
    return importScene(doc, d, shared);
}

}  // namespace velmar
