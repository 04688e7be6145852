#include <gtest/gtest.h>

#include <atomic>

#include "editor/document.h"
#include "editor/edits.h"
#include "files/recovery.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using namespace test;
using namespace std::string_literals;

RecoveryCopy sampleCopy(std::string path) { return {std::move(path), SceneKey{3, 0x0A, 0x12}, sampleImage()}; }

TEST(RecoveryFile, RoundTripsAndRefusesAnythingElse)
{
    const RecoveryCopy copy = sampleCopy("/home/ana/two\nlines é.nes");
    const Bytes file = recoveryFileBytes(copy);
    const std::string imageSize = std::to_string(sampleImage().fileBytes().size());
    const std::string header =
        "VELMAR RECOVERY 1\nFILE 26\n/home/ana/two\nlines é.nes\nSCENE c:030A12\nIMAGE " + imageSize + "\n";
    ASSERT_EQ(textOf(file).substr(0, header.size()), header) << "the layout later versions must still read";

    RecoveryCopy read;
    ASSERT_TRUE(parseRecoveryCopy(file, read).ok());
    EXPECT_EQ(read, copy);
    const RecoveryCopy noScene{"/a.nes", std::nullopt, sampleImage()};
    ASSERT_TRUE(parseRecoveryCopy(recoveryFileBytes(noScene), read).ok());
    EXPECT_EQ(read, noScene);

    // A cut-off copy is refused, wherever it ends (the fuzz target tries the rest).
    for (std::size_t n : {std::size_t{0}, header.size() / 2, header.size(), file.size() - 1}) {
        const Outcome<RecoveryLoad> r = parseRecoveryCopy(Bytes(file.begin(), file.begin() + n), read);
        EXPECT_EQ(r.code, RecoveryLoad::Unreadable) << n;
    }

    // Changed headers and images: a field out of its rules, or bytes the counts do not cover.
    const std::string body = textOf(file).substr(header.size());
    const std::string valid = "VELMAR RECOVERY 1\nFILE 6\n/a.nes\nSCENE \nIMAGE " + imageSize + "\n";
    Bytes noSignature = file;
    noSignature[header.size()] = 'X';
    const Bytes changed[] = {
        bytesOf("VELMAR RECOVERY 2\nFILE 6\n/a.nes\nSCENE \nIMAGE " + imageSize + "\n" + body),
        bytesOf("VELMAR RECOVERY 1\nFILE 0\n\nSCENE \nIMAGE " + imageSize + "\n" + body),
        bytesOf("VELMAR RECOVERY 1\nFILE 06\n/a.nes\nSCENE \nIMAGE " + imageSize + "\n" + body),
        bytesOf("VELMAR RECOVERY 1\nFILE 99999999999999999999\n/a.nes\nSCENE \nIMAGE " + imageSize + "\n" + body),
        bytesOf("VELMAR RECOVERY 1\nFILE 6\n/a\0nes\nSCENE \nIMAGE "s + imageSize + "\n" + body),
        bytesOf("VELMAR RECOVERY 1\nFILE 6\n/a.nes\nSCENE act01\nIMAGE " + imageSize + "\n" + body),
        // Scene keys the editor never writes: not a scene of the tree, or one in lower case.
        bytesOf("VELMAR RECOVERY 1\nFILE 6\n/a.nes\nSCENE c:00c999\nIMAGE " + imageSize + "\n" + body),
        bytesOf("VELMAR RECOVERY 1\nFILE 6\n/a.nes\nSCENE c:00C999\nIMAGE " + imageSize + "\n" + body),
        bytesOf("VELMAR RECOVERY 1\nFILE 6\n/a.nes\nSCENE c:030a12\nIMAGE " + imageSize + "\n" + body),
        bytesOf("VELMAR RECOVERY 1\nFILE 6\n/a.nes\nSCENE \nIMAGE 18446744073709551617\n" + body),
        bytesOf(valid + body + "x"),
        noSignature,
    };
    read = copy;
    for (const Bytes& bad : changed) {
        const Outcome<RecoveryLoad> r = parseRecoveryCopy(bad, read);
        EXPECT_EQ(r.code, RecoveryLoad::Unreadable) << textOf(bad).substr(0, 70);
        EXPECT_FALSE(r.reason.empty());
    }
    EXPECT_EQ(read, copy) << "a refused copy leaves the output alone";
    ASSERT_TRUE(parseRecoveryCopy(bytesOf(valid + body), read).ok()) << "the changes above are all that is wrong";
}

TEST(RecoveryWriter, TheNewestJobWinsAndTheCopyOutlivesTheWriter)
{
    TempDir dir;
    const auto file = dir.path() / "data" / "recovery.velmar";  // the folder is made on the first write
    RecoveryCopy read;
    EXPECT_EQ(readRecoveryCopy(file, read).code, RecoveryLoad::Missing);
    std::atomic<int> failures = 0;
    {
        RecoveryWriter writer(file, [&](const Outcome<WriteResult>& r) { failures += r.ok() ? 0 : 1; });
        for (int i = 0; i < 20; ++i)
            writer.store(sampleCopy("/v" + std::to_string(i)));
        writer.wait();
        ASSERT_TRUE(readRecoveryCopy(file, read).ok());
        EXPECT_EQ(read.path, "/v19");

        // A removal given after a write always runs after it, and the other way round.
        writer.store(sampleCopy("/gone"));
        writer.discard();
        writer.wait();
        EXPECT_FALSE(std::filesystem::exists(file));
        writer.discard();
        writer.store(sampleCopy("/last"));
    }
    // The writer finished its last job before it went, and left the copy.
    ASSERT_TRUE(readRecoveryCopy(file, read).ok());
    EXPECT_EQ(read.path, "/last");
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1)
        << "no temporary file is left";

    writeFile(dir.file("plain"), "a file where a folder should be");
    RecoveryWriter blocked(dir.file("plain") / "recovery.velmar",
                           [&](const Outcome<WriteResult>& r) { failures += r.ok() ? 0 : 1; });
    blocked.store(sampleCopy("/a.nes"));
    blocked.wait();
    EXPECT_EQ(failures, 1) << "a failed write is reported";

    EXPECT_EQ(readRecoveryCopy(dir.path(), read).code, RecoveryLoad::Unreadable);
}

struct SavedFile {
    TempDir dir;
    std::string path = dir.file("game.nes").string();
    std::string original = textOf(sampleImage().fileBytes());
    Document doc;

    SavedFile()
    {
        writeFile(path, original);
        EXPECT_TRUE(doc.open(path, false, {}).ok());
        EXPECT_TRUE(doc.selectScene({0, 0, 0}).ok());
    }

    void edit()
    {
        const auto other = static_cast<std::uint8_t>(doc.currentScene().map[0] + 1);
        ASSERT_TRUE(edits::placeMetatile(doc, {0, 0}, other).ok());
    }
    std::string onDisk() const { return readFile(path); }
};

// The backup keeps the file as it was before the program first changed it, over any number of
// sessions; a save that cannot happen makes none; Save As keeps the replaced file's.
TEST(DocumentBackup, TheBackupKeepsTheFileAsItWasBeforeTheFirstSave)
{
    SavedFile f;
    const std::string bak = f.path + ".bak";
    f.edit();
    ASSERT_TRUE(f.doc.save(true).ok());
    EXPECT_EQ(readFile(bak), f.original);
    EXPECT_NE(f.onDisk(), f.original);
    f.edit();
    ASSERT_TRUE(f.doc.save(true).ok());
    EXPECT_EQ(readFile(bak), f.original) << "later saves keep the backup of the original";

    // A new session does not write over it either.
    ASSERT_TRUE(f.doc.open(f.path, false, {}).ok());
    ASSERT_TRUE(f.doc.selectScene({0, 0, 0}).ok());
    f.edit();
    ASSERT_TRUE(f.doc.save(true).ok());
    EXPECT_EQ(readFile(bak), f.original) << "a second session keeps the first backup";

    // Without the option there is none; nor when the save cannot happen.
    std::filesystem::remove(bak);
    ASSERT_TRUE(f.doc.open(f.path, false, {}).ok());
    ASSERT_TRUE(f.doc.save(false).ok());
    EXPECT_FALSE(std::filesystem::exists(bak));
    const std::string kept = f.onDisk();
    std::filesystem::permissions(f.path, std::filesystem::perms::owner_read);
    EXPECT_EQ(f.doc.save(true).reason, "The file is read-only");
    EXPECT_FALSE(std::filesystem::exists(bak));
    std::filesystem::permissions(f.path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::remove(f.path);
    EXPECT_EQ(f.doc.save(true).code, SaveResult::IoError);
    EXPECT_FALSE(std::filesystem::exists(bak));

    // Save As: the new file becomes the document's; a file it replaces keeps its backup.
    writeFile(f.path, kept);
    ASSERT_TRUE(f.doc.selectScene({0, 0, 0}).ok());
    const std::string other = f.path + "-other.nes";
    writeFile(other, "replaced");
    f.edit();
    ASSERT_TRUE(f.doc.saveAs(other, true).ok());
    EXPECT_EQ(f.doc.path(), other);
    EXPECT_FALSE(f.doc.hasUnsavedChanges());
    EXPECT_EQ(readFile(other + ".bak"), "replaced");
    EXPECT_EQ(readFile(f.path), kept);
    EXPECT_EQ(f.doc.saveAs(f.path + "-gone/x.nes", true).code, SaveResult::IoError);
    EXPECT_EQ(f.doc.path(), other);
}

}  // namespace
}  // namespace velmar
