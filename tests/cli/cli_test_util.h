#pragma once

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "rom/rom_file.h"
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
    CliRun run;
    run.code = runCli(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

inline std::string asText(const Bytes& bytes)
{
    return {bytes.begin(), bytes.end()};
}

// Compares two files' contents; a failure names the first differing offset instead of printing
// a quarter of a megabyte.
inline ::testing::AssertionResult sameBytes(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    std::size_t i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i])
        ++i;
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at file offset 0x" << std::hex << i;
}

inline std::string sampleFileText()
{
    return asText(sampleImage().fileBytes());
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

// The decoded scene as `velmar-cli scene` prints it.
inline QJsonObject sceneJsonOf(const std::string& rom, const std::string& key)
{
    const CliRun run = cli({"scene", rom, key});
    if (run.code != 0)
        return {};
    return parseJson(run.out).object();
}

inline std::vector<int> intsOf(const QJsonArray& array)
{
    std::vector<int> out;
    for (const auto& v : array)
        out.push_back(v.toInt(-1));
    return out;
}

}  // namespace velmar::test
