#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "editor/document.h"
#include "rom/address_map.h"
#include "support/test_support.h"

namespace velmar::test {

// A document holding the sample image (or `image`), with the scene `key` shown: Stage 1-1 unless
// told otherwise, none for nullopt.
struct SampleDocument {
    Document doc;

    explicit SampleDocument(std::optional<SceneKey> key = SceneKey{0, 0, 0}, RomImage image = sampleImage())
    {
        EXPECT_TRUE(doc.openImage(std::move(image), "game.nes").ok());
        if (key) {
            EXPECT_TRUE(doc.selectScene(*key).ok());
        }
    }
    const SceneRecord& scene() const { return doc.currentScene(); }
};

// The sample with other data right behind its actor tables: no spare byte for a new actor.
inline RomImage sampleWithFullActorArea()
{
    RomImage image = sampleImage();
    std::size_t bytes = 0;
    for (int i = 0; i < rommap::kSceneCount; ++i)
        bytes += 2u * image.romData[rommap::kItemCounts + i] + 3u * image.romData[rommap::kEnemyCounts + i];
    image.romData[rommap::kActorAreaStart + bytes] = 0x00;
    return image;
}

// `text` with the first `from` in it replaced by `to`; a `from` it lacks fails the test.
inline std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

}  // namespace velmar::test
