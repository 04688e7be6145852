#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <ostream>
#include <string>
#include <vector>

#include "rom/scene_record.h"

// The JSON that velmar-cli prints. Every game number is a plain integer.
namespace velmar::cli {

// The scene nodes of the area tree, in tree order: key, caption, act, stage, scene.
QJsonArray sceneCatalogueJson();

// Every field of the record under its own name; actors as {x,y,id} and {b,xy,id}.
QJsonObject sceneJson(const SceneRecord& scene);

QJsonArray textsJson(const std::vector<std::string>& texts);

// One compact line.
void printJson(std::ostream& out, const QJsonArray& value);
void printJson(std::ostream& out, const QJsonObject& value);

}  // namespace velmar::cli
