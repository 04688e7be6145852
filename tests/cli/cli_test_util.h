#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "gfx/png_file.h"
#include "rom/area_catalogue.h"
#include "rom/rom_file.h"
#include "rom/scene_codec.h"
#include "support/test_support.h"

namespace velmar::test {

// What one in-process run of velmar-cli printed and returned.
struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

inline CliRun cli(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = runCli(args, out, err);
    return {code, out.str(), err.str()};
}

inline std::string sampleFileText() { return textOf(sampleImage().fileBytes()); }

// Compares two files' contents; a failure names the first differing offset instead of printing
// a quarter of a megabyte.
inline ::testing::AssertionResult sameBytes(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    const auto at = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first;
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at file offset 0x" << std::hex << (at - actual.begin());
}

// The temporary folder of one test with the sample image in it as "sample.nes".
class CliFixtureDir {
public:
    CliFixtureDir() { writeFile(rom(), sampleFileText()); }

    std::filesystem::path rom() const { return dir_.file("sample.nes"); }
    std::string romArg() const { return pathToUtf8(rom()); }
    std::filesystem::path file(const std::string& name) const { return dir_.file(name); }
    // A file of the folder as a command-line argument: UTF-8, as the program takes them.
    std::string arg(const std::string& name) const { return pathToUtf8(dir_.file(name)); }

private:
    TempDir dir_;
};

using Json = nlohmann::json;

// What a command printed as JSON; a discarded value when it is not JSON.
inline Json parseJson(const std::string& text) { return Json::parse(text, nullptr, false); }

// The decoded scene as `velmar-cli scene` prints it; not an object when the command fails.
inline Json sceneJsonOf(const std::string& rom, const std::string& key)
{
    return parseJson(cli({"scene", rom, key}).out);
}

inline std::vector<int> intsOf(const Json& array)
{
    std::vector<int> out;
    for (const Json& v : array)
        out.push_back(v.is_number_integer() ? v.get<int>() : -1);
    return out;
}

// The bytes of a PNG file, as readFile gives a file's.
inline std::string pngText(const Bitmap& bitmap, std::optional<ScreenColour> transparentKey = std::nullopt)
{
    return textOf(encodePng(bitmap, transparentKey));
}

inline SceneRecord sampleScene(const std::string& key)
{
    const SceneKey k = *parseSceneKey(key);
    SceneRecord s;
    EXPECT_TRUE(loadScene(sampleImage().romData, k.stage, k.scene, s).ok()) << key;
    return s;
}

}  // namespace velmar::test
