#include "json_output.h"

#include <QJsonDocument>
#include <QString>

#include "rom/area_catalogue.h"

namespace velmar::cli {

namespace {

QString utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename Container>
QJsonArray numbers(const Container& values)
{
    QJsonArray array;
    for (const auto v : values)
        array.append(static_cast<int>(v));
    return array;
}

void print(std::ostream& out, const QJsonDocument& document)
{
    const QByteArray text = document.toJson(QJsonDocument::Compact);
    out.write(text.constData(), text.size());
    out << '\n';
}

}  // namespace

QJsonArray sceneCatalogueJson()
{
    QJsonArray nodes;
    for (const AreaNode& node : areaCatalogue()) {
        const std::optional<SceneKey> key = parseSceneKey(node.key);
        if (!key)
            continue;  // an act node
        nodes.append(QJsonObject{{"key", utf8(node.key)},
                                 {"caption", utf8(node.caption)},
                                 {"act", key->act},
                                 {"stage", key->stage},
                                 {"scene", key->scene}});
    }
    return nodes;
}

QJsonObject sceneJson(const SceneRecord& s)
{
    QJsonArray items;
    for (const ItemRecord& item : s.items)
        items.append(QJsonObject{{"x", item.x}, {"y", item.y}, {"id", item.id}});
    QJsonArray enemies;
    for (const EnemyRecord& enemy : s.enemies)
        enemies.append(QJsonObject{{"b", enemy.b}, {"xy", enemy.xy}, {"id", enemy.id}});

    return QJsonObject{
        {"stage", s.stage},
        {"scene", s.scene},
        {"length", s.length},
        {"direction", s.direction},
        {"startX", s.startX},
        {"startY", s.startY},
        {"enemyCount", s.enemyCount},
        {"itemCount", s.itemCount},
        {"reload", s.reload},
        {"indicator", s.indicator},
        {"time", s.time},
        {"mapAddress", s.mapAddress},
        {"tileset", s.tileset},
        {"subtileAddress", s.subtileAddress},
        {"metatileAddress", s.metatileAddress},
        {"attributeAddress", s.attributeAddress},
        {"bkgBank", s.bkgBank},
        {"sprBank", s.sprBank},
        {"itemAnimation", s.itemAnimation},
        {"palSelectors", numbers(s.palSelectors)},
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
}

QJsonArray textsJson(const std::vector<std::string>& texts)
{
    QJsonArray array;
    for (const std::string& text : texts)
        array.append(utf8(text));
    return array;
}

void printJson(std::ostream& out, const QJsonArray& value)
{
    print(out, QJsonDocument(value));
}

void printJson(std::ostream& out, const QJsonObject& value)
{
    print(out, QJsonDocument(value));
}

}  // namespace velmar::cli
