#include "rom/area_catalogue.h"

#include <algorithm>
#include <array>

#include "base/hex.h"

namespace velmar {

namespace {

constexpr std::array<AreaNode, 38> kCatalogue{{
    {"act01", "Act1", -1},         {"c:000000", "Stage 1-1", 0},  {"c:000101", "Stage 1-2", 0},
    {"act02", "Act2", -1},         {"c:010202", "Stage 2-1", 3},  {"c:010203", "Stage 2-1", 3},
    {"c:010204", "Stage 2-1", 3},  {"c:010205", "Stage 2-1", 3},  {"c:010306", "Stage 2-2", 3},
    {"c:010307", "Stage 2-2", 3},  {"c:010308", "Stage 2-2", 3},  {"c:010409", "Stage 2-3", 3},
    {"act03", "Act3", -1},         {"c:02050A", "Stage 3-1", 12}, {"c:02060B", "Stage 3-2", 12},
    {"c:02070C", "Stage 3-3", 12}, {"act04", "Act4", -1},         {"c:03080D", "Stage 4-1", 16},
    {"c:03080E", "Stage 4-1", 16}, {"c:03080F", "Stage 4-1", 16}, {"c:030910", "Stage 4-2", 16},
    {"c:030A11", "Stage 4-3", 16}, {"c:030A12", "Stage 4-3", 16}, {"c:030A13", "Stage 4-3", 16},
    {"c:030A14", "Stage 4-3", 16}, {"c:030B15", "Stage 4-4", 16}, {"act05", "Act5", -1},
    {"c:040C16", "Stage 5-1", 26}, {"c:040D17", "Stage 5-2", 26}, {"c:040E1B", "Stage 5-3", 26},
    {"c:040F22", "Stage 5-4", 26}, {"act06", "Act6", -1},         {"c:051023", "Stage 6-1", 31},
    {"c:051124", "Stage 6-2", 31}, {"c:051229", "Stage 6-3", 31}, {"c:05132D", "Stage 6-4", 31},
    {"c:05142E", "Stage 6-4", 31}, {"c:05152F", "Stage 6-5", 31},
}};

}  // namespace

std::span<const AreaNode> areaCatalogue() { return kCatalogue; }

std::string sceneKeyText(const SceneKey& key)
{
    return "c:" + hexPad(key.act, 2) + hexPad(key.stage, 2) + hexPad(key.scene, 2);
}

std::string sceneTitle(const SceneKey& key)
{
    const std::string text = sceneKeyText(key);
    const auto it =
        std::find_if(kCatalogue.begin(), kCatalogue.end(), [&](const AreaNode& n) { return n.key == text; });
    if (it == kCatalogue.end())
        return {};
    // The scenes of a stage stand together under their act; an act node has a caption of its own.
    auto first = it;
    while (first != kCatalogue.begin() && (first - 1)->caption == it->caption)
        --first;
    auto last = it + 1;
    while (last != kCatalogue.end() && last->caption == it->caption)
        ++last;
    std::string title = std::string(it->caption) + ", scene " + hexPad(key.scene, 2);
    if (last - first > 1)
        title += " (" + std::to_string(it - first + 1) + " of " + std::to_string(last - first) + ")";
    return title;
}

bool isSceneKey(std::string_view key) { return key.find("c:") != std::string_view::npos; }

bool isCatalogueScene(std::string_view key)
{
    return std::any_of(kCatalogue.begin(), kCatalogue.end(),
                       [key](const AreaNode& node) { return node.parent >= 0 && node.key == key; });
}

std::optional<SceneKey> parseSceneKey(std::string_view key)
{
    if (key.size() != 8 || key.substr(0, 2) != "c:" || !isHexDigits(key.substr(2), 6))
        return std::nullopt;
    return SceneKey{static_cast<std::uint8_t>(parseHexPrefix(key.substr(2, 2))),
                    static_cast<std::uint8_t>(parseHexPrefix(key.substr(4, 2))),
                    static_cast<std::uint8_t>(parseHexPrefix(key.substr(6, 2)))};
}

}  // namespace velmar
