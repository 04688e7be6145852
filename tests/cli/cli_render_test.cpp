#include <gtest/gtest.h>

#include <QImage>

#include "bitmap_image.h"
#include "cli_test_util.h"
#include "mapview/scene_view.h"
#include "rom/area_catalogue.h"

namespace velmar::test {
namespace {

QImage png(const std::filesystem::path& path)
{
    return QImage(QString::fromStdString(path.string())).convertToFormat(QImage::Format_RGBX8888);
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

TEST(CliRender, TileSheetsAndTheirPalette)
{
    CliFixtureDir dir;
    ASSERT_EQ(cli({"tiles", dir.romArg(), "4", dir.arg("a.png")}).code, 0);
    ASSERT_EQ(cli({"tiles", dir.romArg(), "4", dir.arg("b.png"), "--palette", "c:000000", "0"}).code, 0);
    ASSERT_EQ(cli({"tiles", dir.romArg(), "4", dir.arg("c.png"), "--palette", "c:000000", "3"}).code, 0);
    const QImage a = png(dir.file("a.png"));
    EXPECT_EQ(a.size(), QSize(256, 256));
    EXPECT_EQ(a, png(dir.file("b.png"))) << "the default is the first scene, sub-palette 0";
    EXPECT_NE(a, png(dir.file("c.png")));

    EXPECT_EQ(cli({"render", dir.romArg(), "c:000000", dir.arg("no/such/folder/x.png")}).code, 1);
}

}  // namespace
}  // namespace velmar::test
