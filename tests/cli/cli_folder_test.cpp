#include "cli_test_util.h"

namespace velmar::test {
namespace {

// export then import gives the image back; a folder that cannot be read writes nothing and says
// which file is wrong (the files' own refusals are the core's tests).
TEST(CliFolder, ExportImportAndRefusal)
{
    CliFixtureDir dir;
    const CliRun exported = cli({"export", dir.romArg(), dir.arg("mod")});
    ASSERT_EQ(exported.code, 0) << exported.err;
    const CliRun imported = cli({"import", dir.arg("mod"), dir.arg("back.nes")});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_TRUE(sameBytes(readFile(dir.file("back.nes")), sampleFileText()));

    const CliRun missing = cli({"import", dir.arg("nowhere"), dir.arg("bad.nes")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("manifest.json: "), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.nes")));
}

}  // namespace
}  // namespace velmar::test
