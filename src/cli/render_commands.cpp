#include "actors/frame_sheet.h"
#include "commands.h"
#include "editor/edits.h"
#include "gfx/png_file.h"
#include "gfx/tile_drawing.h"
#include "mapview/scene_view.h"
#include "rom/address_map.h"
#include "base/hex.h"

namespace velmar::cli {

namespace {

// The scene whose colours and banks a picture is drawn with: --palette's, else the first one.
std::string_view paletteScene(const Invocation& inv)
{
    return inv.palette ? std::string_view(inv.palette->sceneKey) : std::string_view("c:000000");
}

int writePng(const Bitmap& bitmap, const std::string& path, Io& io,
             std::optional<ScreenColour> transparentKey = std::nullopt)
{
    if (const Outcome<WriteResult> r = saveBitmapPng(bitmap, path, transparentKey); !r.ok())
        return failed(io, fileMessage("Unknown I/O error!", path, r.reason));
    return kExitOk;
}

}  // namespace

int runRender(const Invocation& inv, Io& io)
{
    Document doc;
    int exitCode = kExitOk;
    if (!openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode))
        return exitCode;
    SceneView view;
    redrawSceneView(doc.romData(), doc.scene(), view);
    return writePng(inv.actors ? composeAllActors(view) : view.map, inv.positional[2], io);
}

int runSheet(const Invocation& inv, Io& io)
{
    Document doc;
    int exitCode = kExitOk;
    if (!openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode))
        return exitCode;
    SceneView view;
    drawSceneSheet(doc.scene(), view);
    return writePng(view.sheet, inv.positional[2], io);
}

namespace {

// The pattern bank and the colours of `tiles` and `import-tiles`: BANK, and --palette KEY
// SUBPALETTE (default: the first scene, sub-palette 0), with that scene opened in `doc`.
struct TileSheetArgs {
    int bank = 0;
    std::uint8_t subPalette = 0;
};

bool tileSheetArgs(const Invocation& inv, Io& io, Document& doc, TileSheetArgs& args, int& exitCode)
{
    const std::optional<int> bank = hexArg(inv.positional[1]);
    if (!bank || *bank >= rommap::kPatternBankCount) {
        exitCode = usageError(inv, io, "BANK is a pattern bank 0..1F");
        return false;
    }
    args.bank = *bank;
    if (inv.palette) {
        const std::string& text = inv.palette->subPalette;
        if (text.size() != 1 || text[0] < '0' || text[0] > '7') {
            exitCode = usageError(inv, io, "SUBPALETTE is 0..7");
            return false;
        }
        args.subPalette = static_cast<std::uint8_t>(text[0] - '0');
    }
    return openSceneArg(inv.positional[0], paletteScene(inv), inv, io, doc, exitCode);
}

}  // namespace

int runTiles(const Invocation& inv, Io& io)
{
    Document doc;
    TileSheetArgs args;
    int exitCode = kExitOk;
    if (!tileSheetArgs(inv, io, doc, args, exitCode))
        return exitCode;
    PixelArray pixels;
    if (const RomStatus status = loadChrBank(doc.romData(), pixels, args.bank); !status.ok())
        return failed(io, status.message());
    Bitmap sheet(256, 256, 0);
    drawTileSheet(sheet, pixels, doc.currentScene().palette, args.subPalette, 2);
    return writePng(sheet, inv.positional[2], io);
}

int runImportTiles(const Invocation& inv, Io& io)
{
    Document doc;
    TileSheetArgs args;
    int exitCode = kExitOk;
    if (!tileSheetArgs(inv, io, doc, args, exitCode))
        return exitCode;
    const std::string& picturePath = inv.positional[2];
    Bitmap sheet;
    if (const Outcome<ImageReadResult> r = loadBitmapPng(picturePath, sheet); !r.ok())
        return failed(io, fileMessage("Error loading file!", picturePath, r.reason));
    const auto colours = tileSheetColours(doc.currentScene().palette, args.subPalette);
    const edits::TileImport r = edits::importTiles(doc, args.bank, sheet, colours, 2);
    if (!r.picture.ok())
        return failed(io, picturePath + ": " + r.picture.reason);
    if (r.edit.code == EditResult::NoChange)
        return kExitOk;
    if (!r.edit.ok())
        return failed(io, r.edit.reason.empty() ? "The tiles could not be stored" : r.edit.reason);
    return saveRomArg(doc, io) ? kExitOk : kExitFailed;
}

int runFrames(const Invocation& inv, Io& io)
{
    const std::optional<int> set = hexArg(inv.positional[1]);
    if (!set || *set > static_cast<int>(FrameSet::Player))
        return usageError(inv, io, "SET is 0 (enemy frames) or 1 (player frames)");
    Document doc;
    int exitCode = kExitOk;
    if (!openSceneArg(inv.positional[0], paletteScene(inv), inv, io, doc, exitCode))
        return exitCode;
    const SceneState& scene = doc.scene();
    const Bitmap sheet = frameSheet(doc.romData(), static_cast<FrameSet>(*set), scene.sprPatterns, scene.bkgPatterns,
                                    scene.currentScene.palette);
    return writePng(sheet, inv.positional[2], io, kKeyColour);
}

}  // namespace velmar::cli
