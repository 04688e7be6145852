#include <gtest/gtest.h>

#include "app_fixture.h"

namespace velmar::test {
namespace {

using Patches = SampleWindow;

// An edit made, written as a patch, taken back, and brought back by the patch as one step.
TEST_F(Patches, MadeFromTheFileAsOpenedAndAppliedAsOneStep)
{
    const Bytes loaded = w.doc().romData();
    f.editFirstCell();
    const Bytes edited = w.doc().romData();
    ASSERT_NE(edited, loaded);

    for (const char* name : {"edits.bps", "edits.ips"}) {
        f.dialogs.answers = {Dialogs::Answer::Yes};  // against the file as opened
        f.dialogs.saveFiles = {f.file(name)};
        w.menuFileCreatePatch->trigger();
        EXPECT_EQ(f.dialogs.messages.last(), "Patch saved!");
    }
    w.cmdUndo->click();
    ASSERT_EQ(w.doc().romData(), loaded);
    f.dialogs.files = {f.file("edits.bps")};
    w.menuFileApplyPatch->trigger();
    EXPECT_EQ(w.doc().romData(), edited);
    EXPECT_EQ(w.doc().undoName(), "Apply Patch");

    // Made for the image before: BPS knows it is not this one; IPS changes nothing more.
    f.dialogs.files = {f.file("edits.bps"), f.file("edits.ips")};
    w.menuFileApplyPatch->trigger();
    EXPECT_TRUE(f.dialogs.messages.last().startsWith("The patch was not applied. The patch was made for another image"))
        << f.dialogs.messages.last().toStdString();
    w.menuFileApplyPatch->trigger();
    EXPECT_EQ(f.dialogs.messages.last(), "The patch changes nothing in this image.");
    w.cmdUndo->click();
    EXPECT_EQ(w.doc().romData(), loaded);

    // The image as opened: a patch would change nothing, which is said, and made only on yes.
    f.dialogs.answers = {Dialogs::Answer::Yes, Dialogs::Answer::No};
    f.dialogs.saveFiles = {f.file("none.ips")};
    w.menuFileCreatePatch->trigger();
    EXPECT_EQ(f.dialogs.questions.last(),
              "The image is the same as game.nes as it was opened: a patch of it changes nothing.\nMake it anyway?");
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("none.ips")));
    f.dialogs.answers = {Dialogs::Answer::Yes, Dialogs::Answer::Yes};
    f.dialogs.saveFiles = {f.file("edits.txt")};
    w.menuFileCreatePatch->trigger();
    EXPECT_EQ(f.dialogs.messages.last(), "A patch file's name ends in .ips or .bps.");
}

}  // namespace
}  // namespace velmar::test
