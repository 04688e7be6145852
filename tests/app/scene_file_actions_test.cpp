#include <gtest/gtest.h>

#include "app_fixture.h"
#include "session/scene_file_actions.h"

namespace velmar::test {
namespace {

// A scene exported and imported into a scene of another stage: the question before the stage's
// values change, the answer kept, one step; and the Tiled map of the scene the same way.
TEST(SceneFileActions, ImportAsksBeforeStageValuesChangeAndIsOneStep)
{
    AppFixture f;
    frmMain& w = f.startWithSample();
    SceneFileActions& a = *w.sceneFileActions;
    const SceneRecord first = w.doc().currentScene();
    f.dialogs.saveFiles = {f.file("scene.json"), f.file("level.tmj")};
    a.menuFileExportScene->trigger();
    a.menuFileExportTiled->trigger();  // what it says is checked after the imports

    f.select("c:010202");
    const Bytes before = w.doc().romData();
    const SceneRecord other = w.doc().currentScene();
    for (QAction* import : {a.menuFileImportScene, a.menuFileImportTiled}) {
        const QString file = f.file(import == a.menuFileImportTiled ? "level.tmj" : "scene.json");
        // Cancel imports nothing; No keeps this stage's values and brings the rest.
        f.dialogs.files = {file, file};
        f.dialogs.answers = {Dialogs::Answer::Cancel};
        import->trigger();
        EXPECT_TRUE(f.dialogs.questions.last().contains("Change them for every scene that shares them?"));
        EXPECT_EQ(w.doc().romData(), before);

        f.dialogs.answers = {Dialogs::Answer::No};
        import->trigger();
        EXPECT_EQ(w.doc().currentScene().map, first.map);
        EXPECT_EQ(w.doc().currentScene().time, other.time);
        EXPECT_EQ(w.doc().undoName(), import == a.menuFileImportTiled ? "Import from Tiled" : "Import Scene");
        w.cmdUndo->click();
        EXPECT_EQ(w.doc().romData(), before);
    }
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join("\n").toStdString();

    f.dialogs.files = {f.file("level-metatiles.png")};
    a.menuFileImportScene->trigger();
    EXPECT_TRUE(f.dialogs.messages.last().startsWith("The file was not imported.\nThe file is not JSON"))
        << f.dialogs.messages.last().toStdString();
}

}  // namespace
}  // namespace velmar::test
