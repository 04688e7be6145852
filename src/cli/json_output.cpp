#include "json_output.h"

#include "editor/scene_properties.h"
#include "rom/area_catalogue.h"

namespace velmar::cli {

namespace {

template <typename Container> Json numbers(const Container& values)
{
    Json array = Json::array();
    for (const auto v : values)
        array.push_back(static_cast<int>(v));
    return array;
}

}  // namespace

Json sceneCatalogueJson()
{
    Json nodes = Json::array();
    for (const AreaNode& node : areaCatalogue()) {
        const std::optional<SceneKey> key = parseSceneKey(node.key);
        if (!key)
            continue;  // an act node
        nodes.push_back({{"key", node.key},
                         {"caption", node.caption},
                         {"act", key->act},
                         {"stage", key->stage},
                         {"scene", key->scene}});
    }
    return nodes;
}

Json sceneJson(const SceneRecord& s)
{
    Json items = Json::array();
    for (const ItemRecord& item : s.items)
        items.push_back({{"x", item.x}, {"y", item.y}, {"id", item.id}});
    Json enemies = Json::array();
    for (const EnemyRecord& enemy : s.enemies)
        enemies.push_back({{"b", enemy.b}, {"xy", enemy.xy}, {"id", enemy.id}});

    Json scene = {
        {"stage", s.stage},
        {"scene", s.scene},
        {"length", s.length},
        {"startX", s.startX},
        {"startY", s.startY},
        {"enemyCount", s.enemyCount},
        {"itemCount", s.itemCount},
        {"mapAddress", s.mapAddress},
        {"tileset", s.tileset},
        {"subtileAddress", s.subtileAddress},
        {"metatileAddress", s.metatileAddress},
        {"attributeAddress", s.attributeAddress},
        {"itemAnimation", s.itemAnimation},
        {"itemXAddress", s.itemXAddress},
        {"itemYIdAddress", s.itemYIdAddress},
        {"enemyBAddress", s.enemyBAddress},
        {"enemyXYAddress", s.enemyXYAddress},
        {"enemyIdAddress", s.enemyIdAddress},
        {"map", numbers(s.map)},
        {"palette", numbers(s.palette)},
        {"items", items},
        {"enemies", enemies},
    };
    // The properties of the core's table; a list (the palette selectors) fills by places.
    for (const ScenePropertyRow& row : scenePropertyRows()) {
        Json& member = scene[row.outputKey];
        if (row.outputElement < 0)
            member = propertyValue(s, row);
        else
            member[static_cast<std::size_t>(row.outputElement)] = propertyValue(s, row);
    }
    return scene;
}

Json textsJson(const std::vector<std::string>& texts) { return Json(texts); }

void printJson(std::ostream& out, const Json& value)
{
    out << value.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace velmar::cli
