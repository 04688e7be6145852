#include <gtest/gtest.h>

#include "app_fixture.h"
#include "windows/frm_text_edit.h"
#include "files/recovery.h"
#include "rom/rom_file.h"
#include "text/text_codec.h"

namespace velmar::test {
namespace {

using TextEditor = SampleWindow;

// The data files of the tests have a one-line character table; the texts need the whole one.
frmTextEdit& openTextEdit(frmMain& w)
{
    applyDefaultCharTable(w.workspace().charTable);
    w.cmdTextEditor->click();
    auto* t = w.findChild<frmTextEdit*>("frmTextEdit");
    EXPECT_TRUE(t && t->isVisible());
    return *t;
}

// Types `text` over text n, as the keys would, without leaving the box.
void type(frmTextEdit& t, int n, const QString& text)
{
    t.lstTextStrings->setCurrentRow(n);
    t.txtSelectedText->setText(text);
    emit t.txtSelectedText->textEdited(text);
}

// Types `text` over text n and presses Enter.
void retype(frmTextEdit& t, int n, const QString& text)
{
    type(t, n, text);
    emit t.txtSelectedText->returnPressed();
    emit t.txtSelectedText->editingFinished();
}

std::string textOf(frmMain& w, int n) { return decodeText(w.doc().romData(), w.workspace().charTable, n).text; }

std::string textOf(const QString& file, const CharTable& table, int n)
{
    RomImage image;
    const std::string bytes = readFile(pathFromUtf8(ss(file)));
    EXPECT_TRUE(parseRomFile(Bytes(bytes.begin(), bytes.end()), image).ok());
    return decodeText(image.romData, table, n).text;
}

bool marked(frmTextEdit& t, int n) { return !t.lstTextStrings->item(n)->icon().isNull(); }

TEST_F(TextEditor, ATextLeftIsOneStepAndOneThatCannotBeStoredStaysInTheWindow)
{
    const Bytes loaded = w.doc().romData();
    frmTextEdit& t = openTextEdit(w);
    ASSERT_EQ(t.lstTextStrings->count(), 113);
    EXPECT_EQ(t.lstTextStrings->item(0)->text(), "00: " + qs(textOf(w, 0)));
    EXPECT_EQ(t.txtSelectedText->text(), qs(textOf(w, 0))) << "typing at once edits text 0, which is shown";
    t.close();
    EXPECT_EQ(w.doc().romData(), loaded) << "no edit, nothing written";
    EXPECT_FALSE(w.doc().canUndo());

    // Left, a text is in the image at once: one step, the title marked.
    openTextEdit(w);
    retype(t, 5, "Hello\\0");
    EXPECT_EQ(textOf(w, 5), "Hello\\0");
    EXPECT_EQ(w.doc().history().size(), 1u);
    EXPECT_TRUE(w.isWindowModified());
    EXPECT_EQ(t.lstTextStrings->item(5)->text(), "05: Hello\\0");
    EXPECT_EQ(t.lblTextSize->text(), "Text 05: 6 bytes");
    t.txtFilter->setText("hello");
    EXPECT_FALSE(t.lstTextStrings->item(5)->isHidden());
    EXPECT_TRUE(t.lstTextStrings->item(6)->isHidden());
    t.txtFilter->clear();
    w.menuEditUndo->trigger();
    EXPECT_EQ(t.txtSelectedText->text(), qs(textOf(w, 5))) << "an undo shows in the window";
    w.menuEditRedo->trigger();

    // A text that cannot be stored stays in the window, marked, until the user lets it go.
    const Bytes edited = w.doc().romData();
    retype(t, 7, "caf\xC3\xA9\\0");
    EXPECT_TRUE(t.lblTextProblem->text().contains("no code for")) << t.lblTextProblem->text().toStdString();
    EXPECT_EQ(w.doc().romData(), edited);
    t.lstTextStrings->setCurrentRow(2);
    EXPECT_TRUE(marked(t, 7));
    EXPECT_TRUE(t.lstTextStrings->item(7)->toolTip().startsWith("Not stored."));
    t.close();  // the question is answered No: stay
    EXPECT_TRUE(t.isVisible());
    EXPECT_EQ(t.selectedText(), 7);
    ASSERT_EQ(f.dialogs.questions.size(), 1);
    f.dialogs.answers = {Dialogs::Answer::Yes};
    t.close();
    EXPECT_FALSE(t.isVisible());
    EXPECT_EQ(w.doc().romData(), edited);

    // A text that cannot be read opens nothing, and says which.
    const Bytes first = encodeText(w.workspace().charTable, textOf(w, 0)).bytes;
    ASSERT_FALSE(first.empty());
    w.workspace().charTable[first[0]].clear();
    w.cmdTextEditor->click();
    EXPECT_FALSE(t.isVisible());
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.messages[0].startsWith("Text 00 cannot be read: ")) << f.dialogs.messages[0].toStdString();
}

// Typed over "T01\0" as "T01", text 01 would read on into text 02: the window says so at once, and
// asks before storing it, adding the end code unless told otherwise.
TEST_F(TextEditor, ATextWithoutItsEndCodeIsShownAndAskedAbout)
{
    frmTextEdit& t = openTextEdit(w);
    type(t, 1, "NEW GAME");
    EXPECT_TRUE(t.lblTextProblem->text().startsWith("Text 01 has no end code \"\\0\", so the game would read on"));
    EXPECT_TRUE(marked(t, 1));
    EXPECT_EQ(t.lstTextStrings->item(1)->toolTip(), t.lblTextProblem->text());
    const auto* sign = t.findChild<QAction*>("actTextWarning");
    EXPECT_TRUE(sign && sign->isVisible());

    const std::string next = textOf(w, 2);
    using Answer = Dialogs::Answer;
    f.dialogs.answers = {Answer::Yes};
    emit t.txtSelectedText->returnPressed();
    emit t.txtSelectedText->editingFinished();
    ASSERT_EQ(f.dialogs.questions.size(), 1);
    EXPECT_EQ(f.dialogs.defaults.value(0), Answer::Yes) << "Enter adds the end code";
    EXPECT_TRUE(f.dialogs.questions[0].startsWith("Text 01 has no end code, so the game would read on into text 02"));
    EXPECT_EQ(textOf(w, 1), "NEW GAME\\0");
    EXPECT_FALSE(marked(t, 1));

    f.dialogs.answers = {Answer::No};  // stored as typed: the game reads on
    retype(t, 3, "AB");
    EXPECT_EQ(textOf(w, 3), "AB" + textOf(w, 4));
    EXPECT_EQ(t.txtSelectedText->text(), qs(textOf(w, 3)));

    f.dialogs.answers = {Answer::Cancel};  // held back: not stored, marked, asked again on closing
    retype(t, 2, "CD");
    t.lstTextStrings->setCurrentRow(6);
    EXPECT_EQ(textOf(w, 2), next);
    EXPECT_EQ(f.dialogs.questions.size(), 3) << "leaving the text held back does not ask again";
    EXPECT_TRUE(marked(t, 2));
    f.dialogs.answers = {Answer::Yes};
    t.close();
    EXPECT_FALSE(t.isVisible());
    EXPECT_EQ(textOf(w, 2), "CD\\0");

    // The last text has nothing to run on into: it gets its end code or stays unstored.
    openTextEdit(w);
    const std::string last = textOf(w, 112);
    f.dialogs.answers = {Answer::No};
    retype(t, 112, "Z");
    EXPECT_EQ(textOf(w, 112), last);
    EXPECT_TRUE(f.dialogs.questions.back().startsWith("Text 70 has no end code; the last text needs one."));
}

// The texts left in the window are the file's as soon as they are left: a save, a play test and
// the recovery copy have them, whether the window is open or not.
TEST(TextEditorEdits, SavePlayTestAndRecoveryHaveTheTexts)
{
    AppFixture f;
    f.keepRecovery = true;
    frmMain& w = f.startWithSample();
    const CharTable& table = w.workspace().charTable;
    frmTextEdit& t = openTextEdit(w);
    type(t, 4, "Saved\\0");  // still in the box
    w.menuFileSaveFile->trigger();
    EXPECT_EQ(textOf(f.file("game.nes"), table, 4), "Saved\\0");
    EXPECT_FALSE(w.isWindowModified());

    retype(t, 6, "Played\\0");
    EXPECT_TRUE(w.isWindowModified());
    w.workspace().settings.emulatorCommand = "emu %f";
    w.cmdRunEmulator->click();
    ASSERT_EQ(f.launched.size(), 1);
    EXPECT_EQ(textOf(w.playTestPath(), table, 6), "Played\\0");

    w.tmrRecovery_Timer();
    w.waitForRecoveryWriter();
    RecoveryCopy kept;
    ASSERT_TRUE(readRecoveryCopy(pathFromUtf8(ss(w.recoveryFile())), kept).ok());
    EXPECT_EQ(decodeText(kept.image.romData, table, 6).text, "Played\\0");
    EXPECT_TRUE(t.isVisible());
}

TEST(TextEditorAtExit, LeavingTheProgramAsksOnlyAboutTextsNotStored)
{
    for (const Dialogs::Answer goOn : {Dialogs::Answer::No, Dialogs::Answer::Yes}) {
        AppFixture f;
        frmMain& w = f.startWithSample();
        w.show();
        frmTextEdit& t = openTextEdit(w);
        retype(t, 3, "Bye\\0");
        retype(t, 8, "caf\xC3\xA9\\0");
        f.dialogs.answers = {goOn, Dialogs::Answer::No};  // then: do not save the file
        w.close();
        EXPECT_EQ(f.dialogs.questions.value(0), "Text 08 in the Text Editor is not stored.\nGo on without it?");
        EXPECT_EQ(w.isVisible(), goOn == Dialogs::Answer::No);
        EXPECT_EQ(textOf(w, 3), "Bye\\0");
    }
}

}  // namespace
}  // namespace velmar::test
