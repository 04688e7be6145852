#include <gtest/gtest.h>

#include <set>

#include "rom/area_catalogue.h"

namespace velmar {
namespace {

TEST(AreaCatalogue, ActsScenesAndParents)
{
    const auto nodes = areaCatalogue();
    ASSERT_EQ(nodes.size(), 38u);
    int acts = 0;
    std::set<int> stages;
    std::set<int> scenes;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const AreaNode& n = nodes[i];
        if (n.parent < 0) {
            ++acts;
            EXPECT_FALSE(isSceneKey(n.key));
            continue;
        }
        const auto key = parseSceneKey(n.key);
        ASSERT_TRUE(key) << n.key;
        EXPECT_LT(n.parent, static_cast<int>(i));
        EXPECT_EQ(nodes[static_cast<std::size_t>(n.parent)].key.substr(3), "0" + std::to_string(key->act + 1))
            << "the act digits mirror the parent act";
        stages.insert(key->stage);
        EXPECT_TRUE(scenes.insert(key->scene).second) << "scene listed twice: " << n.key;
        EXPECT_LT(key->scene, 48);
    }
    EXPECT_EQ(acts, 6);
    EXPECT_EQ(scenes.size(), 32u);
    EXPECT_EQ(stages.size(), 22u);
    EXPECT_EQ(nodes[1].key, "c:000000");
}

TEST(AreaCatalogue, SceneKeys)
{
    EXPECT_EQ(parseSceneKey("c:030A12"), (SceneKey{3, 0x0A, 0x12}));
    for (const char* bad : {"act01", "c:03", "c:030A1G", "x:030A12", "c:030A123", ""})
        EXPECT_FALSE(parseSceneKey(bad)) << bad;
    EXPECT_TRUE(isSceneKey("c:000000"));

    // The scenes of a stage share their caption; the title tells them apart.
    const std::pair<SceneKey, const char*> titles[] = {
        {{0, 0, 0}, "Stage 1-1, scene 00"},          {{1, 2, 2}, "Stage 2-1, scene 02 (1 of 4)"},
        {{1, 2, 5}, "Stage 2-1, scene 05 (4 of 4)"}, {{3, 0x0A, 0x13}, "Stage 4-3, scene 13 (3 of 4)"},
        {{5, 0x15, 0x2F}, "Stage 6-5, scene 2F"},    {{1, 2, 6}, ""},  // not in the tree
    };
    for (const auto& [key, title] : titles)
        EXPECT_EQ(sceneTitle(key), title) << sceneKeyText(key);
}

}  // namespace
}  // namespace velmar
