#include "editor/area_info.h"

#include "expansion/area_room.h"
#include "rom/area_catalogue.h"
#include "base/hex.h"
#include "text/text_packer.h"

namespace velmar {

namespace {

std::string address(std::int64_t a) { return "$" + hexPad(a, 4); }

std::string roomLine(const char* area, const std::optional<AreaRoom>& room)
{
    if (!room)
        return std::string(area) + ": cannot be measured (a table cannot be read)\n";
    return std::string(area) + ": " + std::to_string(room->used) + " of " + std::to_string(room->capacity)
        + " bytes used, " + std::to_string(room->left()) + " left\n";
}

}  // namespace

std::string areaInfoText(const Document& doc, const CharTable& table)
{
    if (!doc.hasScene())
        return {};
    const SceneKey& key = *doc.sceneKey();
    const SceneRecord& s = doc.currentScene();
    std::string out;
    // Acts and stages counted as the tree counts them, from 1 ("Act 2, Stage 2-1"); a scene the
    // tree does not list keeps the numbers of its key.
    const std::string title = sceneTitle(key);
    out += "Act " + std::to_string(key.act + 1) + ", "
        + (title.empty() ? "stage " + hexPad(key.stage, 2) + ", scene " + hexPad(key.scene, 2) : title) + "; key "
        + sceneKeyText(key) + "\n";
    out += "Length: " + hexPad(s.length, 2) + " (" + std::to_string(s.length + 1) + " screens), "
        + (s.direction ? "right to left" : "left to right") + "\n";
    out += "Items: " + hexPad(s.itemCount, 2) + ", enemies: " + hexPad(s.enemyCount, 2) + "\n";
    out += "Map: " + address(s.mapAddress) + ", " + std::to_string(s.map.size()) + " bytes\n";
    out += "Subtiles: " + address(s.subtileAddress) + ", metatiles: " + address(s.metatileAddress)
        + ", attributes: " + address(s.attributeAddress) + " (tileset " + hexPad(s.tileset, 2) + ")\n";
    out += "Item X: " + address(s.itemXAddress) + ", item Y and type: " + address(s.itemYIdAddress) + ", "
        + std::to_string(2 * s.itemCount) + " bytes\n";
    out += "Enemy B: " + address(s.enemyBAddress) + ", position: " + address(s.enemyXYAddress)
        + ", type: " + address(s.enemyIdAddress) + ", " + std::to_string(3 * s.enemyCount) + " bytes\n";
    out += "Pattern banks: BKG " + hexPad(s.bkgBank, 2) + ", SPR " + hexPad(s.sprBank, 2) + "\n";
    const Bytes& rom = doc.romData();
    out += roomLine("Map area", mapAreaRoom(rom, s, s.length));
    out += roomLine("Actor area", actorAreaRoom(rom, s, s.itemCount, s.enemyCount, doc.actorAreaEnd()));
    const TextList texts = decodeAllTexts(rom, table);
    if (texts.status.ok())
        out += roomLine("Text area", measureTexts(rom, table, texts.texts, doc.textAreaEnd()).room);
    else
        out += "Text area: cannot be measured (text " + hexPad(texts.failedText, 2)
            + " cannot be read with this character table)\n";
    return out;
}

}  // namespace velmar
