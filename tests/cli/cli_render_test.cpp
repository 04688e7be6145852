#include <gtest/gtest.h>

#include <QImage>

#include "bitmap_image.h"
#include "cli_test_util.h"
#include "editor/document.h"
#include "mapview/scene_view.h"
#include "rom/area_catalogue.h"

namespace velmar::test {
namespace {

QImage png(const std::filesystem::path& path)
{
    return QImage(QString::fromStdString(path.string())).convertToFormat(QImage::Format_RGB32);
}

// The pictures the editor shows for a scene, made directly through the core.
SceneView coreView(const char* key)
{
    Document doc;
    EXPECT_TRUE(doc.openImage(sampleImage(), "sample.nes").ok());
    EXPECT_TRUE(doc.selectScene(*parseSceneKey(key)).ok());
    SceneView view;
    redrawSceneView(doc.romData(), doc.scene(), view);
    return view;
}

TEST(CliRender, PicturesAreTheEditorsPixels)
{
    CliFixtureDir dir;
    for (const char* key : {"c:000000", "c:02070C", "c:030A12"}) {
        SCOPED_TRACE(key);
        const SceneView view = coreView(key);
        ASSERT_EQ(cli({"render", dir.romArg(), key, dir.arg("map.png")}).code, 0);
        ASSERT_EQ(cli({"render", dir.romArg(), key, dir.arg("all.png"), "--actors"}).code, 0);
        ASSERT_EQ(cli({"sheet", dir.romArg(), key, dir.arg("sheet.png")}).code, 0);
        EXPECT_EQ(png(dir.file("map.png")), toQImage(view.map));
        EXPECT_EQ(png(dir.file("all.png")), toQImage(composeAllActors(view)));
        EXPECT_EQ(png(dir.file("sheet.png")), toQImage(view.sheet));
        EXPECT_NE(png(dir.file("all.png")), png(dir.file("map.png"))) << "the actors show";
    }
}

}  // namespace
}  // namespace velmar::test
