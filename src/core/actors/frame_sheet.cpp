#include "actors/frame_sheet.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "actors/actor_drawing.h"
#include "gfx/digit_font.h"
#include "base/hex.h"

namespace velmar {

namespace {

constexpr int kLine = 1;                       // the box line, shared by neighbouring cells
constexpr int kPad = 1;                        // between the line and the frame
constexpr int kBandHeight = kDigitHeight + 2;  // the label band: digits with a pixel above and below
constexpr int kTextInset = 1;                  // between the band's ends and its text
constexpr int kTextGap = 3;                    // between a step's frame number and its timer
constexpr int kMarkerSize = 16;                // the least room for the crossed box

struct Cell {
    std::uint8_t frame = 0;
    std::string label;  // at the band's left
    std::string timer;  // at the band's right, or empty
};

struct Drawing {
    const Bytes& rom;
    FrameSet set;
    const PixelArray& spr;
    const PixelArray& bkg;
    PaletteView palette;

    std::optional<ComposedFrame> compose(std::uint8_t frame) const
    {
        SpriteFrame f;
        if (!readSpriteFrame(rom, set, frame, f).ok())
            return std::nullopt;
        return composeFrame(f, spr, bkg, palette);
    }
};

// How far the frames reach from their anchor, in pixels.
struct Reach {
    int left = 0;
    int right = 0;
    int up = 0;
    int down = 0;
};

int bandTextWidth(const Cell& cell)
{
    const int timer = cell.timer.empty() ? 0 : kTextGap + hexTextWidth(cell.timer);
    return hexTextWidth(cell.label) + timer;
}

Bitmap drawCells(const Drawing& d, const std::vector<Cell>& cells, int columns)
{
    if (cells.empty())
        return Bitmap(8, 8, kKeyColour);

    // The frames are composed twice, once to measure and once to draw, rather than all kept:
    // a set of far-flung frames would hold tens of megabytes of pictures.
    Reach reach;
    bool anyReadable = false;
    int textWidth = 0;
    for (const Cell& cell : cells) {
        textWidth = std::max(textWidth, bandTextWidth(cell));
        if (const std::optional<ComposedFrame> f = d.compose(cell.frame)) {
            anyReadable = true;
            reach.left = std::max(reach.left, f->anchorX);
            reach.right = std::max(reach.right, f->image.width() - f->anchorX);
            reach.up = std::max(reach.up, f->anchorY);
            reach.down = std::max(reach.down, f->image.height() - f->anchorY);
        }
    }
    if (!anyReadable)
        reach = {0, kMarkerSize, kMarkerSize, 0};
    const int areaW = std::max(reach.left + reach.right, kMarkerSize);
    const int areaH = std::max(reach.up + reach.down, kMarkerSize);
    const int innerW = std::max(areaW + 2 * kPad, textWidth + 2 * kTextInset);
    const int pitchX = kLine + innerW;
    const int pitchY = kLine + kBandHeight + kPad + areaH + kPad;

    const int count = static_cast<int>(cells.size());
    columns = std::min(columns, count);
    const int rows = (count + columns - 1) / columns;
    Bitmap sheet(columns * pitchX + kLine, rows * pitchY + kLine, kKeyColour);
    for (int i = 0; i < count; ++i) {
        const Cell& cell = cells[static_cast<std::size_t>(i)];
        const int x0 = i % columns * pitchX, y0 = i / columns * pitchY;
        sheet.fill(x0, y0, pitchX + kLine, kLine, kCellLineColour);
        sheet.fill(x0, y0 + pitchY, pitchX + kLine, kLine, kCellLineColour);
        sheet.fill(x0, y0, kLine, pitchY + kLine, kCellLineColour);
        sheet.fill(x0 + pitchX, y0, kLine, pitchY + kLine, kCellLineColour);
        sheet.fill(x0 + kLine, y0 + kLine, innerW, kBandHeight, kCellLineColour);
        const int textY = y0 + kLine + (kBandHeight - kDigitHeight) / 2;
        drawHexText(sheet, x0 + kLine + kTextInset, textY, cell.label, kCellLabelColour);
        drawHexText(sheet, x0 + pitchX - kTextInset - hexTextWidth(cell.timer), textY, cell.timer, kCellTimerColour);

        const int areaX = x0 + kLine + kPad, areaY = y0 + kLine + kBandHeight + kPad;
        if (const std::optional<ComposedFrame> f = d.compose(cell.frame))
            blitKeyed(sheet, areaX + reach.left - f->anchorX, areaY + reach.up - f->anchorY, f->image, kKeyColour);
        else
            drawUnreadableFrame(sheet, areaX, areaY, areaW, areaH);
    }
    return sheet;
}

}  // namespace

void drawUnreadableFrame(Bitmap& surface, int x, int y, int w, int h)
{
    // A box with both diagonals over the whole area.
    const int steps = std::max({w, h, 2}) - 1;
    for (int i = 0; i <= steps; ++i) {
        const int dx = i * (w - 1) / steps, dy = i * (h - 1) / steps;
        for (const auto& [px, py] : {std::pair{dx, 0}, {dx, h - 1}, {0, dy}, {w - 1, dy}, {dx, dy}, {dx, h - 1 - dy}})
            surface.setPixel(x + px, y + py, kUnreadableFrameColour);
    }
}

Bitmap frameSheet(const Bytes& rom, FrameSet set, const PixelArray& sprPatterns, const PixelArray& bkgPatterns,
                  PaletteView palette)
{
    std::vector<Cell> cells;
    const int last = lastFrameIndex(rom, set);
    for (int frame = 0; frame <= last; ++frame)
        cells.push_back({static_cast<std::uint8_t>(frame), hexPad(frame, 2), {}});
    return drawCells({rom, set, sprPatterns, bkgPatterns, palette}, cells, kFrameSheetColumns);
}

Bitmap animationStrip(const Bytes& rom, FrameSet set, const Bytes& steps, const PixelArray& sprPatterns,
                      const PixelArray& bkgPatterns, PaletteView palette)
{
    std::vector<Cell> cells;
    for (std::size_t i = 0; i + 1 < steps.size(); i += 2)
        cells.push_back({steps[i + 1], hexPad(steps[i + 1], 2), hexPad(steps[i], 2)});
    return drawCells({rom, set, sprPatterns, bkgPatterns, palette}, cells, static_cast<int>(cells.size()));
}

}  // namespace velmar
