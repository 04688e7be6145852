#include <gtest/gtest.h>

#include "app_fixture.h"
#include "exchange/scene_file.h"

namespace velmar::test {
namespace {

// A scene exported and imported into a scene of another stage: the question before the stage's
// values change, the answer kept, one step; and the Tiled map of the scene the same way.
TEST(SceneFileActions, ImportAsksBeforeStageValuesChangeAndIsOneStep)
{
    AppFixture f;
    frmMain& w = f.startWithSample();
    const SceneRecord first = w.doc().currentScene();
    f.dialogs.saveFiles = {f.file("scene.json"), f.file("level.tmj")};
    w.menuFileExportScene->trigger();
    w.menuFileExportTiled->trigger();  // what it says is checked after the imports

    f.select("c:010202");
    const Bytes before = w.doc().romData();
    const SceneRecord other = w.doc().currentScene();
    for (QAction* import : {w.menuFileImportScene, w.menuFileImportTiled}) {
        const QString file = f.file(import == w.menuFileImportTiled ? "level.tmj" : "scene.json");
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
        EXPECT_EQ(w.doc().undoName(), import == w.menuFileImportTiled ? "Import from Tiled" : "Import Scene");
        w.cmdUndo->click();
        EXPECT_EQ(w.doc().romData(), before);
    }
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join("\n").toStdString();

    f.dialogs.files = {f.file("level-metatiles.png")};
    w.menuFileImportScene->trigger();
    EXPECT_TRUE(f.dialogs.messages.last().startsWith("The file was not imported.\nThe file is not JSON"))
        << f.dialogs.messages.last().toStdString();
}

// Files that ended the editor or overflowed its stack before: nesting tens of thousands deep (what
// else the readers refuse is theirs), and a file too large to be a scene. Each import says why and
// changes nothing; the editor goes on.
TEST(SceneFileActions, HostileFilesAreRefusedAndTheEditorGoesOn)
{
    AppFixture f;
    frmMain& w = f.startWithSample();
    f.dialogs.saveFiles = {f.file("scene.json"), f.file("level.tmj")};
    w.menuFileExportScene->trigger();
    w.menuFileExportTiled->trigger();
    const std::string scene = readFile(f.dir.file("scene.json")), map = readFile(f.dir.file("level.tmj"));
    const auto with = [](std::string text, const std::string& from, const std::string& to) {
        return text.replace(text.find(from), from.size(), to);
    };
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const struct {
        QAction* import;
        std::string file;
        const char* reason;
    } cases[] = {
        {w.menuFileImportScene, with(scene, "\"velmar-scene\"", deep), "nested more than 64 levels deep"},
        {w.menuFileImportScene, std::string(kMaxSceneFileBytes + 1, ' '), "larger than a scene file can be"},
        {w.menuFileImportTiled, with(map, "\"orthogonal\"", deep), "nested more than 64 levels deep"},
    };
    const Bytes before = w.doc().romData();
    for (const auto& c : cases) {
        writeFile(f.dir.file("hostile.json"), c.file);
        f.dialogs.files = {f.file("hostile.json")};
        f.dialogs.messages.clear();
        c.import->trigger();
        ASSERT_EQ(f.dialogs.messages.size(), 1) << c.reason;
        EXPECT_TRUE(f.dialogs.messages[0].contains(c.reason)) << f.dialogs.messages[0].left(300).toStdString();
        EXPECT_LT(f.dialogs.messages[0].size(), 600) << c.reason;
        EXPECT_EQ(w.doc().romData(), before) << c.reason;
        EXPECT_FALSE(w.doc().canUndo()) << c.reason;
    }
}

}  // namespace
}  // namespace velmar::test
