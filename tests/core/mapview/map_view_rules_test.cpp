#include <gtest/gtest.h>

#include <tuple>

#include "mapview/map_region.h"
#include "mapview/map_view_rules.h"

namespace velmar {
namespace {

TEST(MapViewRules, ScrollRangeByLengthAndDirection)
{
    struct Case {
        int screens;
        bool startAtLeft;
        MapScroll want;
    };
    const Case cases[] = {
        {1, true, {false, 0, 0}},    {2, false, {false, 0, 0}},  // fits: disabled at 0 whatever the direction
        {3, false, {true, 0, 0}},    {10, false, {true, 1792, 1792}},
        {10, true, {true, 1792, 0}}, {17, false, {true, 3584, 3584}},
    };
    for (const Case& c : cases) {
        const MapScroll s = setupMapScroll(c.screens, c.startAtLeft);
        EXPECT_EQ(std::tuple(s.enabled, s.maximum, s.value), std::tuple(c.want.enabled, c.want.maximum, c.want.value))
            << c.screens;
    }
    // A wider view: 10 screens in 1000 pixels scroll over the 1560 left; 3 screens fit.
    EXPECT_EQ(setupMapScroll(10, false, 1000).value, 1560);
    EXPECT_FALSE(setupMapScroll(3, true, 1000).enabled);
}

TEST(MapViewRules, PlacingOutsideTheMapChangesNothing)
{
    SceneRecord s;
    s.length = 3;
    s.map.assign(4 * 48, 7);
    const Bytes before = s.map;
    EXPECT_FALSE(placeMetatile(s, mapCellAt(1024, 10), 1)) << "right of the map";
    EXPECT_FALSE(placeMetatile(s, mapCellAt(-1, 10), 1));
    EXPECT_FALSE(placeMetatile(s, mapCellAt(10, 192), 1)) << "below the map";
    EXPECT_EQ(s.map, before);
    EXPECT_EQ(pickerMetatile(511, 511), 0xFF);
}

TEST(MapViewRules, StatusPanelsKeepTheLastFourDigits)
{
    SceneRecord s;
    s.mapAddress = 0x8A10;
    s.subtileAddress = 0x1F6C2;
    s.metatileAddress = 5;
    const auto panels = statusPanels(s);
    EXPECT_EQ(std::tuple(panels[0].key, panels[0].text, panels[1].key, panels[1].text, panels[2].text, panels[6].key),
              std::tuple("status1", "Map: $8A10", "status4", "M-T: $F6C2", "M-S: $0005", "status5"));
}

TEST(MapRegion, SpansAndTheKeyboardsCursorStayOnTheMap)
{
    SceneRecord s;
    s.length = 1;  // 16 columns, 6 rows
    s.map.resize(96);
    EXPECT_EQ(spanCells({9, 4}, {7, 1}), (CellRect{7, 1, 3, 4}));
    EXPECT_EQ(stepCell(s, {15, 5}, 1, 1), (MapCell{15, 5}));
    EXPECT_EQ(stepCell(s, {0, 0}, -8, -1), (MapCell{0, 0}));
    EXPECT_EQ(stepCell(s, {4, 2}, 8, 1), (MapCell{12, 3}));
    EXPECT_EQ(stepCell(s, {40, 9}, 0, 0), (MapCell{15, 5})) << "a cell outside comes back in";
}

}  // namespace
}  // namespace velmar
