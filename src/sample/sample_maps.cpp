#include "sample/sample_maps.h"

#include <algorithm>

#include "expansion/map_packer.h"
#include "sample/sample_canvas.h"
#include "sample/sample_metatiles.h"
#include "sample/sample_plan.h"

namespace velmar::sample {

using namespace rommap;

namespace {

constexpr int kRows = 6;
constexpr int kPit = kRows;  // ground row of a column without ground
// Row 5 shows only its top half: actors stand on rows 1-4.
constexpr int kLowestStandRow = 4;

struct ThemeRules {
    int pitChance;        // per ground segment, percent
    int maxPitWidth;      // in 32-pixel columns
    int otherLookChance;  // per stretch, percent: drawn in the other half's look
    bool ceiling;         // a row of solid blocks along the top
};

ThemeRules rulesOf(Theme theme)
{
    switch (theme) {
    case Theme::Forest: return {30, 2, 20, false};
    case Theme::Castle: return {25, 2, 25, true};
    case Theme::Cave: return {30, 2, 25, true};
    case Theme::Lake: return {45, 3, 20, false};
    case Theme::Sky: return {45, 2, 20, false};
    case Theme::Ruins: return {25, 2, 45, false};
    }
    return {};
}

class MapGrid {
public:
    MapGrid(int columns, bool mainLookSecond)
        : cells_(static_cast<std::size_t>(columns)), second_(static_cast<std::size_t>(columns), mainLookSecond),
          ground_(static_cast<std::size_t>(columns), kPit)
    {
        for (auto& column : cells_)
            column.fill(Role::Sky);
    }

    int columns() const { return static_cast<int>(cells_.size()); }
    Role at(int c, int r) const
    {
        if (c < 0 || c >= columns() || r < 0 || r >= kRows)
            return Role::Sky;
        return cells_[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
    }
    void set(int c, int r, Role role)
    {
        if (c >= 0 && c < columns() && r >= 0 && r < kRows)
            cells_[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] = role;
    }
    // Sets the cell only when it still shows plain sky.
    bool place(int c, int r, Role role)
    {
        if (c < 0 || c >= columns() || r < 0 || r >= kRows || at(c, r) != Role::Sky)
            return false;
        set(c, r, role);
        return true;
    }
    bool free(int c, int r) const { return c >= 0 && c < columns() && r >= 0 && r < kRows && at(c, r) == Role::Sky; }

    int ground(int c) const { return c < 0 || c >= columns() ? kPit : ground_[static_cast<std::size_t>(c)]; }
    void setGround(int c, int row) { ground_[static_cast<std::size_t>(c)] = row; }
    void flipLook(int c) { second_[static_cast<std::size_t>(c)] = !second_[static_cast<std::size_t>(c)]; }

    Bytes toMap() const
    {
        Bytes map(static_cast<std::size_t>(columns()) * kRows);
        for (int c = 0; c < columns(); ++c)
            for (int r = 0; r < kRows; ++r)
                map[static_cast<std::size_t>(c * kRows + r)] =
                    metatileNumber(at(c, r), second_[static_cast<std::size_t>(c)]);
        return map;
    }

private:
    std::vector<std::array<Role, kRows>> cells_;
    std::vector<bool> second_;
    std::vector<int> ground_;
};

// The ground line: segments of 3-7 columns on row 3 or 4, pits between some of them. The first
// and last three columns stay flat on row 4, where the player starts.
void shapeGround(MapGrid& grid, const ThemeRules& rules, Theme theme, SampleRandom& rng)
{
    const int columns = grid.columns();
    int c = 0;
    int row = 4;
    while (c < columns) {
        const int length = rng.between(3, 7);
        for (int k = 0; k < length && c < columns; ++k)
            grid.setGround(c++, row);
        if (c >= 3 && c + rules.maxPitWidth < columns - 3 && rng.chance(rules.pitChance)) {
            const int width = rng.between(1, rules.maxPitWidth);
            for (int k = 0; k < width; ++k)
                grid.setGround(c++, kPit);
        }
        const bool high = theme == Theme::Sky || theme == Theme::Cave;
        row = rng.chance(high ? 60 : 45) ? 3 : 4;
        if (high && rng.chance(15))
            row = 2;
    }
    for (int k = 0; k < 3; ++k) {
        grid.setGround(k, 4);
        grid.setGround(columns - 1 - k, 4);
    }
}

void fillGround(MapGrid& grid, Theme theme, SampleRandom& rng)
{
    for (int c = 0; c < grid.columns(); ++c) {
        const int g = grid.ground(c);
        if (g == kPit) {
            switch (theme) {
            case Theme::Lake:
            case Theme::Cave:
                grid.set(c, 4, Role::WaterTop);
                grid.set(c, 5, Role::Water);
                break;
            case Theme::Castle:
                grid.set(c, 4, Role::Spikes);
                grid.set(c, 5, Role::Ground);
                break;
            default: break;
            }
            continue;
        }
        grid.set(c, g, Role::GroundTop);
        for (int r = g + 1; r < kRows; ++r)
            grid.set(c, r, Role::Ground);
    }
    // Bridges over some of the lake's wider water.
    if (theme == Theme::Lake) {
        for (int c = 1; c + 1 < grid.columns(); ++c) {
            if (grid.ground(c) == kPit && grid.ground(c + 1) == kPit && rng.chance(50)) {
                grid.set(c, 4, Role::WaterPlatform);
                grid.set(c + 1, 4, Role::WaterPlatform);
                ++c;
            }
        }
    }
}

// The first row of a column that is ground (the pit's floor counts), kRows if none.
int groundTopRow(const MapGrid& grid, int c)
{
    if (c < 0 || c >= grid.columns())
        return 0;
    for (int r = 0; r < kRows; ++r) {
        const Role role = grid.at(c, r);
        if (role == Role::GroundTop || role == Role::Ground)
            return r;
    }
    return kRows;
}

// Where the ground drops to a lower neighbour or a pit, its side shows an edge.
void addEdges(MapGrid& grid)
{
    std::vector<int> tops(static_cast<std::size_t>(grid.columns()));
    for (int c = 0; c < grid.columns(); ++c)
        tops[static_cast<std::size_t>(c)] = groundTopRow(grid, c);
    const auto top = [&](int c) { return c < 0 || c >= grid.columns() ? 0 : tops[static_cast<std::size_t>(c)]; };
    for (int c = 0; c < grid.columns(); ++c) {
        const int g = grid.ground(c);
        if (g == kPit)
            continue;
        const bool openLeft = top(c - 1) > g;
        const bool openRight = top(c + 1) > g;
        if (!openLeft && !openRight)
            continue;
        grid.set(c, g, openLeft ? Role::GroundTopEdgeL : Role::GroundTopEdgeR);
        const int below = openLeft ? top(c - 1) : top(c + 1);
        for (int r = g + 1; r < std::min(below, kRows); ++r)
            grid.set(c, r, openLeft ? Role::GroundEdgeL : Role::GroundEdgeR);
    }
}

// Some stretches drawn in the other half's look, for variety within a scene.
void mixLooks(MapGrid& grid, const ThemeRules& rules, SampleRandom& rng)
{
    int c = 0;
    while (c < grid.columns()) {
        const int length = rng.between(4, 10);
        const bool other = rng.chance(rules.otherLookChance);
        for (int k = 0; k < length && c < grid.columns(); ++k, ++c)
            if (other)
                grid.flipLook(c);
    }
}

void addCeiling(MapGrid& grid, Theme theme, SampleRandom& rng)
{
    for (int c = 0; c < grid.columns(); ++c) {
        grid.set(c, 0, theme == Theme::Castle ? Role::Brick : Role::Ground);
        if (theme == Theme::Cave && rng.chance(30))
            grid.place(c, 1, Role::Detail);
        if (theme == Theme::Castle && rng.chance(10))
            grid.place(c, 1, Role::Chain);
    }
}

// Ledges of 2-3 columns two or three rows above the ground, over pits too; some with a ladder.
void addLedges(MapGrid& grid, SampleRandom& rng, int chance)
{
    const int first = 3;
    const int last = grid.columns() - 4;
    for (int c = first; c <= last; ++c) {
        if (!rng.chance(chance))
            continue;
        const int width = std::min(rng.between(2, 3), last - c + 1);
        int row = kRows;
        for (int k = 0; k < width; ++k)
            row = std::min(row, std::min(grid.ground(c + k), 4) - rng.between(2, 3));
        row = std::max(row, 1);
        bool clear = true;
        for (int k = 0; k < width; ++k)
            clear = clear && grid.free(c + k, row) && grid.free(c + k, row - 1);
        if (!clear)
            continue;
        for (int k = 0; k < width; ++k)
            grid.set(c + k, row, Role::Platform);
        const int g = grid.ground(c);
        if (g != kPit && rng.chance(45)) {
            bool hung = false;
            for (int r = row + 1; r < g; ++r)
                hung = grid.place(c, r, Role::Ladder) || hung;
            if (hung)
                grid.set(c, row, Role::PlatformLadder);
        }
        c += width + 1;
    }
}

bool flatGround(const MapGrid& grid, int c)
{
    const int g = grid.ground(c);
    return g != kPit && grid.at(c, g) == Role::GroundTop;
}

void addSolidObstacles(MapGrid& grid, Theme theme, SampleRandom& rng)
{
    for (int c = 3; c < grid.columns() - 3; ++c) {
        if (!flatGround(grid, c) || !rng.chance(7))
            continue;
        const int g = grid.ground(c);
        switch (theme) {
        case Theme::Castle:
        case Theme::Ruins:
            grid.place(c, g - 1, Role::Brick);
            if (rng.chance(50))
                grid.place(c, g - 2, Role::Battlement);
            break;
        case Theme::Sky:
            if (grid.place(c, g - 1, Role::Pillar))
                grid.place(c, g - 2, Role::PillarTop);
            break;
        default: grid.place(c, g - 1, Role::Block); break;
        }
    }
}

void addScenery(MapGrid& grid, Theme theme, SampleRandom& rng)
{
    for (int c = 0; c < grid.columns(); ++c) {
        const int g = grid.ground(c);
        const bool flat = flatGround(grid, c);
        switch (theme) {
        case Theme::Forest:
        case Theme::Lake:
            if (flat && g >= 2 && rng.chance(theme == Theme::Forest ? 18 : 6)) {
                if (grid.place(c, g - 1, Role::Pillar))
                    grid.place(c, g - 2, Role::Canopy);
            } else if (flat && rng.chance(12)) {
                grid.place(c, g - 1, theme == Theme::Lake ? Role::Reeds : Role::Bush);
            } else if (flat && rng.chance(6)) {
                grid.place(c, g - 1, rng.chance(50) ? Role::Fence : Role::Rock);
            } else if (flat && flatGround(grid, c + 1) && grid.ground(c + 1) == g && rng.chance(8)) {
                if (grid.free(c, g - 1) && grid.free(c + 1, g - 1)) {
                    grid.set(c, g - 1, Role::HillUp);
                    grid.set(c + 1, g - 1, Role::HillDown);
                }
            }
            if (rng.chance(12))
                grid.place(c, rng.below(2), Role::Cloud);
            else if (rng.chance(4))
                grid.place(c, rng.below(2), Role::Detail);
            break;
        case Theme::Ruins:
            if (flat && g >= 3 && rng.chance(12)) {
                if (grid.place(c, g - 1, Role::Pillar))
                    grid.place(c, g - 2, Role::PillarTop);
            } else if (flat && rng.chance(8)) {
                grid.place(c, g - 1, Role::Rock);
            } else if (flat && flatGround(grid, c + 1) && grid.ground(c + 1) == g && rng.chance(10)) {
                if (grid.free(c, g - 1) && grid.free(c + 1, g - 1)) {
                    grid.set(c, g - 1, Role::HillUp);
                    grid.set(c + 1, g - 1, Role::HillDown);
                }
            }
            if (rng.chance(8))
                grid.place(c, 0, Role::Cloud);
            else if (rng.chance(5))
                grid.place(c, 1, Role::Detail);
            break;
        case Theme::Castle:
            if (flat && rng.chance(6)) {
                grid.place(c, g - 1, Role::Door);
            } else if (g != kPit && rng.chance(14)) {
                grid.place(c, std::max(1, g - 2), Role::Torch);
            } else if (rng.chance(16)) {
                grid.place(c, 1, Role::Window);
            } else if (rng.chance(22)) {
                for (int r = 1; r < std::min(g, kRows - 1); ++r)
                    grid.place(c, r, Role::BackWall);
            }
            if (g != kPit && rng.chance(5)) {
                for (int r = 1; r < g; ++r)
                    grid.place(c, r, r == 1 ? Role::PillarTop : Role::Pillar);
            }
            break;
        case Theme::Cave:
            if (flat && rng.chance(10))
                grid.place(c, g - 1, Role::Rock);
            else if (flat && rng.chance(6))
                grid.place(c, g - 1, Role::Reeds);
            break;
        case Theme::Sky:
            if (rng.chance(25))
                grid.place(c, rng.below(3), Role::Cloud);
            else if (rng.chance(4))
                grid.place(c, 0, Role::Detail);
            break;
        }
    }
}

// A one-screen room: walls on both sides, flat floor, the theme's furnishings.
void shapeRoom(MapGrid& grid, Theme theme, SampleRandom& rng)
{
    for (int c = 0; c < grid.columns(); ++c)
        grid.setGround(c, 4);
    fillGround(grid, theme, rng);
    const Role wall = theme == Theme::Sky ? Role::Block : Role::Brick;
    for (int r = 0; r < 4; ++r) {
        grid.set(0, r, wall);
        grid.set(grid.columns() - 1, r, wall);
    }
    if (theme == Theme::Castle || theme == Theme::Cave) {
        for (int c = 1; c < grid.columns() - 1; ++c)
            grid.set(c, 0, theme == Theme::Castle ? Role::Brick : Role::Ground);
    }
    if (theme == Theme::Castle) {
        grid.place(2, 2, Role::Torch);
        grid.place(5, 2, Role::Torch);
        grid.place(3, 1, Role::Window);
        grid.place(4, 3, Role::Door);
    } else {
        grid.place(2, 2, Role::Platform);
        grid.place(5, 2, Role::Platform);
        grid.place(3, 3, Role::Block);
        grid.place(4, 3, Role::Block);
    }
}

// Where actors can stand: the top rows of solid blocks with room above them.
void findSurfaces(const MapGrid& grid, SceneLayout& layout)
{
    const auto columns16 = static_cast<std::size_t>(grid.columns()) * 2;
    layout.floorY.assign(columns16, -1);
    layout.perchY.assign(columns16, -1);
    for (int c = 0; c < grid.columns(); ++c) {
        int lowest = -1;
        int highest = -1;
        for (int r = 1; r <= kLowestStandRow; ++r) {
            if (isSolid(grid.at(c, r)) && !isSolid(grid.at(c, r - 1))) {
                lowest = r;
                if (highest < 0)
                    highest = r;
            }
        }
        for (std::size_t half = 0; half < 2; ++half) {
            const std::size_t x16 = static_cast<std::size_t>(c) * 2 + half;
            layout.floorY[x16] = lowest < 0 ? -1 : 32 * lowest;
            layout.perchY[x16] = highest < 0 ? -1 : 32 * highest;
        }
    }
}

}  // namespace

SceneLayout buildSceneLayout(int scene)
{
    const ScenePlan& plan = scenePlans()[static_cast<std::size_t>(scene)];
    const Theme theme = stagePlans()[plan.stage].theme;
    const ThemeRules rules = rulesOf(theme);
    SampleRandom rng(sceneSeed(scene));
    MapGrid grid((plan.length + 1) * 8, mainLookIsSecondHalf(theme));

    if (plan.length == 0) {
        shapeRoom(grid, theme, rng);
    } else {
        shapeGround(grid, rules, theme, rng);
        fillGround(grid, theme, rng);
        addEdges(grid);
        mixLooks(grid, rules, rng);
        if (rules.ceiling)
            addCeiling(grid, theme, rng);
        addLedges(grid, rng, theme == Theme::Sky ? 16 : 10);
        addSolidObstacles(grid, theme, rng);
        addScenery(grid, theme, rng);
    }

    SceneLayout layout;
    layout.map = grid.toMap();
    findSurfaces(grid, layout);
    return layout;
}

Outcome<ResizeResult> writeMaps(Bytes& rom, const SceneLayouts& layouts)
{
    MapTable table;
    for (int i = 0; i < kSceneCount; ++i) {
        const ScenePlan& plan = scenePlans()[static_cast<std::size_t>(i)];
        const auto direction = static_cast<std::uint8_t>(plan.rightToLeft ? 0x80 : 0);
        table[static_cast<std::size_t>(i)] = {plan.length, direction, layouts[static_cast<std::size_t>(i)].map};
    }
    return packMaps(rom, table);
}

}  // namespace velmar::sample
