#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "rom/scene_record.h"

// The JSON that velmar-cli prints. Every game number is a plain integer. Objects keep their
// members in the order of their names (nlohmann::json's std::map), which is the order every
// earlier velmar-cli printed them in.
namespace velmar::cli {

using Json = nlohmann::json;

// The scene nodes of the area tree, in tree order: key, caption, act, stage, scene.
Json sceneCatalogueJson();

// Every field of the record under its own name; actors as {x,y,id} and {b,xy,id}.
Json sceneJson(const SceneRecord& scene);

Json textsJson(const std::vector<std::string>& texts);

// One compact line, in UTF-8; a byte that is not UTF-8 in a text is printed as U+FFFD.
void printJson(std::ostream& out, const Json& value);

}  // namespace velmar::cli
