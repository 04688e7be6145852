#include "gfx/bitmap.h"

#include <algorithm>
#include <cstring>

namespace velmar {

namespace {

constexpr ScreenColour kWhite = 0xFFFFFF;

inline void apply(ScreenColour& d, ScreenColour s, RasterOp op)
{
    switch (op) {
    case RasterOp::Copy: d = s; break;
    case RasterOp::And: d &= s; break;
    case RasterOp::Or: d |= s; break;
    }
}

}  // namespace

Bitmap::Bitmap(int width, int height, ScreenColour backColour) : backColour_(backColour) { resize(width, height); }

void Bitmap::resize(int width, int height)
{
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), backColour_);
}

void Bitmap::clear() { std::fill(pixels_.begin(), pixels_.end(), backColour_); }

void Bitmap::fill(int x, int y, int w, int h, ScreenColour c)
{
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(width_, x + w), y1 = std::min(height_, y + h);
    for (int yy = y0; yy < y1; ++yy)
        std::fill(row(yy) + x0, row(yy) + x1, c);
}

void blitKeyed(Bitmap& dst, int dx, int dy, const Bitmap& src, ScreenColour key, int opacity)
{
    opacity = std::clamp(opacity, 0, 256);
    const auto mix = [opacity](ScreenColour over, ScreenColour under) {
        ScreenColour out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int a = static_cast<int>((over >> shift) & 0xFF), b = static_cast<int>((under >> shift) & 0xFF);
            out |= static_cast<ScreenColour>((a * opacity + b * (256 - opacity)) >> 8) << shift;
        }
        return out;
    };
    const int y0 = std::max(0, -dy), y1 = std::min(src.height(), dst.height() - dy);
    const int x0 = std::max(0, -dx), x1 = std::min(src.width(), dst.width() - dx);
    for (int y = y0; y < y1; ++y) {
        const ScreenColour* in = src.row(y);
        ScreenColour* out = dst.row(y + dy) + dx;
        for (int x = x0; x < x1; ++x) {
            if (in[x] != key)
                out[x] = opacity == 256 ? in[x] : mix(in[x], out[x]);
        }
    }
}

void blit(Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy, RasterOp op)
{
    if (&dst == &src) {
        // Overlapping copy within one surface: take the source first.
        Bitmap block(w, h, 0);
        blit(block, 0, 0, w, h, src, sx, sy);
        blit(dst, dx, dy, w, h, block, 0, 0, op);
        return;
    }
    for (int j = 0; j < h; ++j) {
        const int ty = dy + j;
        if (ty < 0 || ty >= dst.height())
            continue;
        const int fy = sy + j;
        ScreenColour* out = dst.row(ty);
        const bool rowInside = fy >= 0 && fy < src.height();
        const ScreenColour* in = rowInside ? src.row(fy) : nullptr;
        int i0 = std::max(0, -dx);
        int i1 = std::min(w, dst.width() - dx);
        if (op == RasterOp::Copy && rowInside) {
            // Fast path: the part of the row that lies inside both surfaces is one memcpy.
            const int c0 = std::max(i0, -sx);
            const int c1 = std::min(i1, src.width() - sx);
            if (c0 < c1) {
                for (int i = i0; i < c0; ++i)
                    out[dx + i] = 0;
                std::memcpy(out + dx + c0, in + sx + c0, static_cast<std::size_t>(c1 - c0) * sizeof(ScreenColour));
                for (int i = c1; i < i1; ++i)
                    out[dx + i] = 0;
                continue;
            }
        }
        for (int i = i0; i < i1; ++i) {
            const int fx = sx + i;
            const ScreenColour s = (in && fx >= 0 && fx < src.width()) ? in[fx] : 0;
            apply(out[dx + i], s, op);
        }
    }
}

void stretchBlit(Bitmap& dst, int dx, int dy, int dw, int dh, const Bitmap& src, int sx, int sy, int sw, int sh,
                 RasterOp op)
{
    if (dw <= 0 || dh <= 0 || sw == 0 || sh == 0)
        return;
    if (&dst == &src) {
        // Read the whole source block before writing, so stretching onto itself is exact.
        const int bx = sw > 0 ? sx : sx + sw + 1;
        const int by = sh > 0 ? sy : sy + sh + 1;
        const int bw = sw > 0 ? sw : -sw;
        const int bh = sh > 0 ? sh : -sh;
        Bitmap block(bw, bh, 0);
        blit(block, 0, 0, bw, bh, src, bx, by);
        stretchBlit(dst, dx, dy, dw, dh, block, sx - bx, sy - by, sw, sh, op);
        return;
    }
    const long long aw = sw > 0 ? sw : -sw;
    const long long ah = sh > 0 ? sh : -sh;
    const int stepX = sw > 0 ? 1 : -1;
    const int stepY = sh > 0 ? 1 : -1;
    const int i0 = std::max(0, -dx);
    const int i1 = std::min(dw, dst.width() - dx);
    if (i0 >= i1)
        return;
    // The source column of every destination column, worked out once (-1: outside the source).
    std::vector<int> columns(static_cast<std::size_t>(i1 - i0));
    for (int i = i0; i < i1; ++i) {
        const int fx = sx + stepX * static_cast<int>(i * aw / dw);
        columns[static_cast<std::size_t>(i - i0)] = fx >= 0 && fx < src.width() ? fx : -1;
    }
    for (int j = 0; j < dh; ++j) {
        const int ty = dy + j;
        if (ty < 0 || ty >= dst.height())
            continue;
        const int fy = sy + stepY * static_cast<int>(j * ah / dh);
        ScreenColour* out = dst.row(ty) + dx;
        const ScreenColour* in = fy >= 0 && fy < src.height() ? src.row(fy) : nullptr;
        for (int i = i0; i < i1; ++i) {
            const int fx = columns[static_cast<std::size_t>(i - i0)];
            apply(out[i], (in && fx >= 0) ? in[fx] : 0, op);
        }
    }
}

void makeMask(const Bitmap& source, Bitmap& mask, std::int64_t keyColour)
{
    const ScreenColour key = keyColour == -1 ? source.backColour() : static_cast<ScreenColour>(keyColour);
    mask.resize(source.width(), source.height());
    for (int y = 0; y < source.height(); ++y) {
        const ScreenColour* in = source.row(y);
        ScreenColour* out = mask.row(y);
        for (int x = 0; x < source.width(); ++x)
            out[x] = in[x] == key ? kWhite : 0;
    }
}

}  // namespace velmar
