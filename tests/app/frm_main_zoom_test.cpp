#include <gtest/gtest.h>

#include "app_fixture.h"
#include "panels/map_view_panel.h"
#include "widgets/bitmap_view.h"

namespace velmar::test {
namespace {

// At every zoom a click, a drag and a drop on the map mean what they mean at 1x: the mouse comes
// in as screen pixels, the edits come out the same.
TEST(MapZoom, ClicksDragsAndDropsMeanTheSameAtEveryZoom)
{
    Bytes atOne;
    for (int zoom = 1; zoom <= 4; ++zoom) {
        SCOPED_TRACE("zoom " + std::to_string(zoom));
        AppFixture f;
        frmMain& w = f.startWithSample();
        w.setMapZoom(zoom);
        const int width = static_cast<int>(w.doc().currentScene().map.size()) / 48 * 256;
        EXPECT_EQ(w.mapView->picRenderDest->width(), width * zoom);
        EXPECT_EQ(w.mapView->picContainer->height(), w.mapView->picRenderDest->height())
            << "the whole map height shows";

        // A click in the last screen pixel of map pixel (620, 130): screen 2, column 3, row 4.
        f.choose(0x21);
        const QPoint screen(620 * zoom + zoom - 1, 130 * zoom);
        QTest::mouseClick(w.mapView->picRenderDest, Qt::LeftButton, {}, screen);
        EXPECT_EQ(w.doc().currentScene().map[48 * 2 + 6 * 3 + 4], 0x21);

        // An enemy's picture is pressed where it stands; 40 map pixels right is two columns.
        w.cmdEnemyEdit->click();
        QWidget* pic = w.mapView->markerPicture(MapMarker::Enemy, 0);
        const QRect origin = pic->geometry();
        EXPECT_EQ(origin.width() % zoom, 0);
        QTest::mousePress(pic, Qt::LeftButton, {}, QPoint(zoom, zoom));
        const QPoint grabbed(origin.x() / zoom + 1, origin.y() / zoom + 1);
        w.picEnemy_MouseMove(0, grabbed + QPoint(40, 8));
        EXPECT_EQ(pic->geometry(), origin.translated(32 * zoom, 0)) << "the picture shows where it lands";
        EXPECT_EQ(w.mapView->lblSelActorHighlight->geometry(), origin.adjusted(-4, -4, 4, 4).translated(32 * zoom, 0));
        w.picEnemy_MouseUp(0, grabbed + QPoint(40, 8));
        // A drop below the map changes nothing.
        const QPoint placed(pic->geometry().center() / zoom);
        w.picEnemy_MouseDown(0, placed);
        w.picEnemy_MouseUp(0, placed + QPoint(0, 400));

        if (zoom == 1)
            atOne = w.doc().romData();
        EXPECT_EQ(w.doc().romData(), atOne);

        // Ctrl+wheel and the keys step the zoom; the view keeps its place.
        w.setMapZoom(zoom);
        w.menuViewZoomIn->trigger();
        EXPECT_EQ(w.mapView->zoom(), std::min(zoom + 1, 4));
        w.menuViewActualSize->trigger();
        EXPECT_EQ(w.mapView->zoom(), 1);
        EXPECT_EQ(w.mapView->picRenderDest->width(), width);
    }
}

}  // namespace
}  // namespace velmar::test
