#include <gtest/gtest.h>

#include <functional>

#include "core/text/text_image.h"
#include "exchange/json_text.h"
#include "exchange/rom_folder.h"
#include "exchange/scene_file.h"
#include "exchange/tiled_map.h"
#include "core/sample_document.h"

namespace velmar {
namespace {

using namespace test;
using namespace exchange;

std::string nested(std::size_t levels, const std::string& open, const std::string& close)
{
    std::string text;
    for (std::size_t i = 0; i < levels; ++i)
        text += open;
    text += "0";
    for (std::size_t i = 0; i < levels; ++i)
        text += close;
    return text;
}

// Every reader of JSON, each given a good file with one value (where the reader would quote it
// back) replaced by what broke readers before: a number no double holds, nesting deep enough to
// overflow a recursion, a value too long to quote. Each is refused with its reason, quoting
// nothing whole, and changes nothing.
TEST(JsonInput, EveryReaderRefusesHostileValuesWithoutHarm)
{
    const SceneDescription scene = describeScene(SampleDocument(SceneKey{1, 2, 3}).scene());
    SceneDescription leftToRight = scene;
    leftToRight.property(SceneProperty::Direction) = 0;
    FolderFiles folder;
    ASSERT_TRUE(exportFolder(sampleImage(), defaultTable(), folder).ok());

    // A reader: a good file with "@" where the value goes, and what reading that file says.
    struct Reader {
        const char* name;
        std::string file;
        std::function<std::string(const std::string&)> read;
    };
    const auto sceneFile = [&](const std::string& text) {
        SceneDescription out = scene;
        const auto r = readSceneFile(text, out);
        EXPECT_EQ(out, scene);
        return r.reason;
    };
    const auto tiledMap = [&](const std::string& text) {
        SceneDescription out = scene;
        const auto r = readTiledMap(text, out);
        EXPECT_EQ(out, scene);
        return r.reason;
    };
    const auto folderFile = [&](const char* name) {
        return [&folder, name](const std::string& text) {
            // The file alone on the remainder: a folder of one file.
            FolderFiles files = {{kRemainderFile, folder.at(kRemainderFile)}, {name, bytesOf(text)}};
            if (name != std::string(kManifestFile))
                files[kManifestFile] =
                    bytesOf(R"({"format": "velmar-folder", "version": 1, "remainder": "remainder.nes", )"
                            R"("files": [")"
                            + std::string(name) + R"("]})");
            RomImage image;
            image.romData = {7};
            const FolderOutcome r =
                importFolder([&](const std::string& file, std::string&) { return std::optional(files.at(file)); },
                             defaultTable(), image);
            EXPECT_EQ(image.romData, Bytes{7}) << name;
            EXPECT_EQ(r.reason.find(std::string(name) + ": "), 0u) << r.reason;
            return r.reason;
        };
    };
    const std::string sceneText = replaced(writeSceneFile(scene), "\"velmar-scene\"", "@");
    const Reader readers[] = {
        {"scene file", sceneText, sceneFile},
        {"Tiled map", replaced(writeTiledMap(leftToRight, "m.png"), "\"left to right\"", "@"), tiledMap},
        {"manifest", replaced(textOf(folder.at(kManifestFile)), "\"version\": 1", "\"version\": @"),
         folderFile(kManifestFile)},
        {"folder scene", replaced(textOf(folder.at("scenes/010203.json")), "\"velmar-scene\"", "@"),
         folderFile("scenes/010203.json")},
        {"palettes", replaced(textOf(folder.at("palettes.json")), "\"shared\": [33,", "\"shared\": [@,"),
         folderFile("palettes.json")},
        {"frames", replaced(textOf(folder.at("frames.json")), "\"tile\": 64", "\"tile\": @"),
         folderFile("frames.json")},
        {"animations", replaced(textOf(folder.at("animations.json")), "[[6, 0]", "[[@, 0]"),
         folderFile("animations.json")},
    };
    const std::string deep = nested(100000, "[", "]");
    std::string crowded = "{";
    for (int i = 0; i <= 128; ++i)
        crowded += (i ? ", \"" : "\"") + std::to_string(i) + "\": 0";
    crowded += "}";
    const struct {
        std::string value;
        const char* reason;  // a part of every reader's reason
    } values[] = {
        {"1e400", "this program reads: the number 1e400 at line "},
        {"-1e400", "the number -1e400 at line "},
        {deep, "nested more than 64 levels deep"},
        {nested(100000, "{\"a\": ", "}"), "nested more than 64 levels deep"},
        {deep.substr(0, 50000), "nested more than 64 levels deep"},  // and never closed
        {crowded, "an object in it has more than 128 members"},
        {nested(60, "[", "]"), ""},  // deep, but not too deep
        {"\"" + std::string(100000, 'A') + "\"", ""},
        {std::string(5000, '9'), "is too large"},  // a whole number past any 64 bits: a double
    };
    for (const Reader& reader : readers) {
        for (const auto& v : values) {
            const std::string reason = reader.read(replaced(reader.file, "@", v.value));
            EXPECT_NE(reason.find(v.reason), std::string::npos) << reader.name << ": " << reason;
            EXPECT_FALSE(reason.empty()) << reader.name;
            EXPECT_LT(reason.size(), 500u) << reader.name << ": " << reason.substr(0, 500);
        }
    }
}

// The entry itself: what a reader lets out of the library becomes a reason, and values are quoted
// cut short.
TEST(JsonInput, LibraryExceptionsBecomeReasonsAndValuesAreQuotedShort)
{
    const struct {
        const char* text;
        std::function<void(const Json&)> read;
        const char* reason;
    } cases[] = {
        {"{\"a\": \"x\"}", [](const Json& v) { (void)v.at("a").get<int>(); },
         "The file is not one this program reads: type must be number, but is string"},
        {"{\"a\": 1}", [](const Json& v) { (void)v.at("b"); },
         "The file is not one this program reads: key 'b' not found"},
        {"[1]",
         [](const Json&) {
             throw Wrong{"", "no"};
         },
         "The file: no"},
        {"[1,\n  2,, 3]", [](const Json&) {}, "The file is not JSON: the error is at line 2, column 5."},
        {"\xff", [](const Json&) {}, "The file is not JSON: the error is at line 1, column 1."},
        {"[\n\n 1e999]", [](const Json&) {},
         "The file is not JSON this program reads: the number 1e999 at line 3, column 2 is too large."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readJson(std::string_view(c.text), c.read), c.reason);

    const struct {
        Json value;
        std::string quoted;
    } quotes[] = {
        {Json(std::string(41, 'a')), "\"" + std::string(40, 'a') + "...\""},
        {Json(std::string(40, 'a')), "\"" + std::string(40, 'a') + "\""},
        {Json("\xC3\xA9" + std::string(45, 'b')), "\"\xC3\xA9" + std::string(39, 'b') + "...\""},
        {Json("a\"b"), "\"a\\\"b\""},
        {Json(18446744073709551615u), "18446744073709551615"},
        {Json(-1), "-1"},
        {Json::array({1, 2}), "a list of 2 entries"},
        {Json::object({{"a", 1}}), "an object of 1 member"},
    };
    for (const auto& q : quotes)
        EXPECT_EQ(quoteValue(q.value), q.quoted);
}

}  // namespace
}  // namespace velmar
