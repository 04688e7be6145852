#include "cli_test_util.h"

namespace velmar::test {
namespace {

// export then import gives the image back; a folder with a wrong file writes nothing and says
// which file is wrong and where.
TEST(CliFolder, ExportImportAndRefusal)
{
    CliFixtureDir dir;
    const CliRun exported = cli({"export", dir.romArg(), dir.arg("mod")});
    ASSERT_EQ(exported.code, 0) << exported.err;
    const CliRun imported = cli({"import", dir.arg("mod"), dir.arg("back.nes")});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_TRUE(sameBytes(readFile(dir.file("back.nes")), sampleFileText()));

    std::string texts = readFile(dir.file("mod/texts.txt"));
    texts.replace(texts.find("\n05: "), 5, "\n5: ");
    writeFile(dir.file("mod/texts.txt"), texts);
    const CliRun refused = cli({"import", dir.arg("mod"), dir.arg("bad.nes")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("texts.txt: line 6: the line must begin with \"05: \""), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.nes")));

    const CliRun missing = cli({"import", dir.arg("nowhere"), dir.arg("bad.nes")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("manifest.json: "), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace velmar::test
