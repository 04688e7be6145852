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

    // A text without its end code is imported only when that is asked for.
    const std::filesystem::path texts = dir.file("mod") / "texts.txt";
    std::string file = readFile(texts);
    file.replace(file.find("\\0\n02: "), 3, "\n");
    writeFile(texts, file);
    const CliRun open = cli({"import", dir.arg("mod"), dir.arg("open.nes")});
    EXPECT_EQ(open.code, 1);
    EXPECT_NE(open.err.find("texts.txt: line 2: Text 01 has no end code"), std::string::npos) << open.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("open.nes")));
    EXPECT_EQ(cli({"import", dir.arg("mod"), dir.arg("open.nes"), "--allow-no-end"}).code, 0);
}

#ifndef _WIN32
// A link planted in the folder (version control keeps links) is never written through: export
// refuses before writing anything, naming it; export-tiled the same for its tileset.
TEST(CliFolder, ExportWritesThroughNoLinkItFinds)
{
    CliFixtureDir dir;
    std::filesystem::create_directories(dir.file("mod"));
    writeFile(dir.file("mine.txt"), "mine");
    std::filesystem::create_symlink(dir.file("mine.txt"), dir.file("mod") / "texts.txt");
    std::filesystem::create_symlink(dir.file("mine.txt"), dir.file("level-metatiles.png"));
    const CliRun exported = cli({"export", dir.romArg(), dir.arg("mod")});
    EXPECT_EQ(exported.code, 1);
    EXPECT_NE(exported.err.find("Nothing was written."), std::string::npos) << exported.err;
    EXPECT_NE(exported.err.find("\ntexts.txt: a link\n"), std::string::npos) << exported.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("mod") / "manifest.json"));
    const CliRun tiled = cli({"export-tiled", dir.romArg(), "c:010203", dir.arg("level.tmj")});
    EXPECT_EQ(tiled.code, 1);
    EXPECT_NE(tiled.err.find("level-metatiles.png: A link stands where this file goes"), std::string::npos)
        << tiled.err;
    EXPECT_EQ(readFile(dir.file("mine.txt")), "mine");
}
#endif

}  // namespace
}  // namespace velmar::test
