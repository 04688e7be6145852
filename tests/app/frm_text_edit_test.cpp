#include <gtest/gtest.h>

#include "app_fixture.h"
#include "windows/frm_text_edit.h"
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

void retype(frmTextEdit& t, int n, const QString& text)
{
    t.lstTextStrings->setCurrentRow(n);
    t.txtSelectedText->setText(text);
    emit t.txtSelectedText->textEdited(text);
    emit t.txtSelectedText->editingFinished();
}

std::string textOf(frmMain& w, int n) { return decodeText(w.doc().romData(), w.workspace().charTable, n).text; }

TEST_F(TextEditor, ClosingStoresTheEditsAsOneStepAndNothingThatCannotBeStoredOrRead)
{
    const Bytes loaded = w.doc().romData();
    frmTextEdit& t = openTextEdit(w);
    EXPECT_EQ(t.windowTitle(), "Text Editor");
    ASSERT_EQ(t.lstTextStrings->count(), 113);
    EXPECT_EQ(t.lstTextStrings->item(0)->text(), "00: " + qs(textOf(w, 0)));
    EXPECT_EQ(t.txtSelectedText->text(), qs(textOf(w, 0))) << "typing at once edits text 0, which is shown";
    t.close();
    EXPECT_EQ(w.doc().romData(), loaded) << "no edit, nothing written";
    EXPECT_FALSE(w.doc().canUndo());

    openTextEdit(w);
    retype(t, 5, "Hello\\0");
    EXPECT_EQ(t.lstTextStrings->item(5)->text(), "05: Hello\\0");
    EXPECT_EQ(t.lblTextSize->text(), "Text 05: 6 bytes");
    t.txtFilter->setText("hello");
    EXPECT_FALSE(t.lstTextStrings->item(5)->isHidden());
    EXPECT_TRUE(t.lstTextStrings->item(6)->isHidden());
    t.close();
    EXPECT_FALSE(t.isVisible());
    EXPECT_EQ(textOf(w, 5), "Hello\\0");
    EXPECT_EQ(w.doc().history().size(), 1u);

    // A text that cannot be stored keeps the window open until the user lets it go.
    const Bytes edited = w.doc().romData();
    openTextEdit(w);
    retype(t, 7, "caf\xC3\xA9\\0");
    EXPECT_EQ(t.lblTextProblem->text(), "This text cannot be stored: no code for \"\xC3\xA9\" (character 4).");
    t.lstTextStrings->setCurrentRow(2);
    t.close();  // the question is answered No: stay
    EXPECT_TRUE(t.isVisible());
    EXPECT_EQ(t.selectedText(), 7);
    EXPECT_TRUE(t.lblTextProblem->text().contains("cannot be encoded"));
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

TEST(TextEditorAtExit, LeavingTheProgramAsksAboutTextEdits)
{
    for (const Dialogs::Answer keep : {Dialogs::Answer::Cancel, Dialogs::Answer::No, Dialogs::Answer::Yes}) {
        AppFixture f;
        frmMain& w = f.startWithSample();
        w.show();
        const Bytes loaded = w.doc().romData();
        frmTextEdit& t = openTextEdit(w);
        retype(t, 3, "Bye\\0");
        f.dialogs.answers = {keep, Dialogs::Answer::No};  // then: do not save the file
        w.close();
        EXPECT_EQ(f.dialogs.questions.value(0), "The texts in the Text Editor were edited.\nKeep the text edits?");
        EXPECT_EQ(w.isVisible(), keep == Dialogs::Answer::Cancel);
        EXPECT_EQ(textOf(w, 3) == "Bye\\0", keep == Dialogs::Answer::Yes);
        if (keep == Dialogs::Answer::No) {
            EXPECT_EQ(w.doc().romData(), loaded);
        }
    }
}

}  // namespace
}  // namespace velmar::test
