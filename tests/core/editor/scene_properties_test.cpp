#include <gtest/gtest.h>

#include <sstream>

#include "editor/edits.h"
#include "exchange/scene_file.h"
#include "exchange/tiled_map.h"
#include "core/sample_document.h"

namespace velmar {
namespace {

// A value the row takes that differs from every other row's, so that a property read back into
// another's place shows.
std::uint8_t distinctValue(const ScenePropertyRow& row)
{
    return row.words[0] ? row.max : static_cast<std::uint8_t>((static_cast<int>(row.property) + 1) & row.max);
}

// Every property is one step under its row's name, lands where the row says, and a value above
// its range is refused with nothing changed.
TEST(SceneProperties, EveryPropertyIsAStepOfItsOwnAndRefusedAboveItsRange)
{
    for (const ScenePropertyRow& row : scenePropertyRows()) {
        SCOPED_TRACE(row.label);
        test::SampleDocument sample(SceneKey{1, 2, 2});
        Document& doc = sample.doc;
        const std::uint8_t value = propertyValue(doc.currentScene(), row) == distinctValue(row)
            ? static_cast<std::uint8_t>(row.words[0] ? 0 : (distinctValue(row) + 1) & row.max)
            : distinctValue(row);
        ASSERT_EQ(edits::setSceneProperty(doc, row.property, value).code, EditResult::Recorded);
        EXPECT_EQ(doc.undoName(), row.stepName);
        EXPECT_EQ(propertyValue(doc.currentScene(), row), value);
        if (row.max < 0xFF && !row.words[0]) {
            const Bytes image = doc.romData();
            const auto refused = edits::setSceneProperty(doc, row.property, static_cast<std::uint8_t>(row.max + 1));
            EXPECT_EQ(refused.code, EditResult::Refused);
            EXPECT_NE(refused.reason.find(row.label), std::string::npos) << refused.reason;
            EXPECT_EQ(doc.romData(), image);
        }
    }
}

// Scene files and Tiled maps carry every property in a place of its own.
TEST(SceneProperties, FilesCarryEachPropertyInItsOwnPlace)
{
    SceneDescription d = describeScene(test::SampleDocument().scene());
    for (const ScenePropertyRow& row : scenePropertyRows())
        d.property(row.property) = distinctValue(row);
    SceneDescription fromFile, fromMap;
    ASSERT_TRUE(readSceneFile(writeSceneFile(d), fromFile).ok());
    EXPECT_EQ(fromFile.properties, d.properties);
    ASSERT_TRUE(readTiledMap(writeTiledMap(d, "metatiles.png"), fromMap).ok());
    EXPECT_EQ(fromMap.properties, d.properties);
}

// The README's section from `heading` to the next heading of its level.
std::string readmeSection(const std::string& heading)
{
    const std::string text = test::readFile(std::filesystem::path(VELMAR_SOURCE_DIR) / "README.md");
    const std::size_t at = text.find("\n" + heading + "\n");
    if (at == std::string::npos)
        return {};
    const std::size_t end = text.find("\n## ", at + heading.size() + 2);
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

// The lines of a README section that are rows of a table.
std::string tableRows(const std::string& section)
{
    std::string rows;
    std::istringstream lines(section);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("| "))
            rows += line + "\n";
    }
    return rows;
}

// The README names every property where a user looks for it: set-property's names in its row,
// the scene file's members in its table, the Tiled map's properties in its list.
TEST(SceneProperties, TheReadmeNamesEveryProperty)
{
    const std::string commands = tableRows(readmeSection("## velmar-cli"));
    const std::size_t at = commands.find("| `velmar-cli set-property ");
    ASSERT_NE(at, std::string::npos);
    const std::string setProperty = commands.substr(at, commands.find('\n', at) - at);
    const std::string sceneFile = tableRows(readmeSection("## Scene files"));
    const std::string tiled = readmeSection("## Tiled");
    for (const ScenePropertyRow& row : scenePropertyRows()) {
        const std::string key = "`" + std::string(row.fileKey) + "`";
        EXPECT_NE(setProperty.find("`" + std::string(row.cliName) + "`"), std::string::npos) << row.cliName;
        EXPECT_NE(sceneFile.find(key), std::string::npos) << row.fileKey;
        EXPECT_NE(tiled.find(key), std::string::npos) << row.fileKey;
    }
}

}  // namespace
}  // namespace velmar
