#pragma once

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
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

inline std::string sampleFileText()
{
    const Bytes bytes = sampleImage().fileBytes();
    return {bytes.begin(), bytes.end()};
}

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
    std::string romArg() const { return rom().string(); }
    std::filesystem::path file(const std::string& name) const { return dir_.file(name); }
    std::string arg(const std::string& name) const { return dir_.file(name).string(); }

private:
    TempDir dir_;
};

inline QJsonDocument parseJson(const std::string& text)
{
    return QJsonDocument::fromJson(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

// The decoded scene as `velmar-cli scene` prints it; empty when the command fails.
inline QJsonObject sceneJsonOf(const std::string& rom, const std::string& key)
{
    return parseJson(cli({"scene", rom, key}).out).object();
}

inline std::vector<int> intsOf(const QJsonArray& array)
{
    std::vector<int> out;
    for (const auto& v : array)
        out.push_back(v.toInt(-1));
    return out;
}

inline SceneRecord sampleScene(const std::string& key)
{
    const SceneKey k = *parseSceneKey(key);
    SceneRecord s;
    EXPECT_TRUE(loadScene(sampleImage().romData, k.stage, k.scene, s).ok()) << key;
    return s;
}

}  // namespace velmar::test
