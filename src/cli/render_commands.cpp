#include "bitmap_image.h"
#include "commands.h"
#include "gfx/tile_drawing.h"
#include "mapview/scene_view.h"
#include "rom/address_map.h"
#include "rom/hex.h"

namespace velmar::cli {

namespace {

int writePng(const Bitmap& bitmap, const std::string& path, Io& io)
{
    if (const Outcome<WriteResult> r = saveBitmapPng(bitmap, path); !r.ok())
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

int runTiles(const Invocation& inv, Io& io)
{
    const std::string& bankText = inv.positional[1];
    const std::optional<int> bank = hexArg(bankText);
    if (!bank || *bank >= rommap::kPatternBankCount)
        return usageError(inv, io, "BANK is a pattern bank 0..1F");
    const std::string keyText = inv.palette ? inv.palette->first : "c:000000";
    int subPalette = 0;
    if (inv.palette) {
        const std::string& text = inv.palette->second;
        if (text.size() != 1 || text[0] < '0' || text[0] > '7')
            return usageError(inv, io, "SUBPALETTE is 0..7");
        subPalette = text[0] - '0';
    }
    Document doc;
    int exitCode = kExitOk;
    if (!openSceneArg(inv.positional[0], keyText, inv, io, doc, exitCode))
        return exitCode;
    PixelArray pixels;
    if (const RomStatus status = loadChrBank(doc.romData(), pixels, *bank); !status.ok())
        return failed(io, status.message());
    Bitmap sheet(256, 256, 0);
    drawTileSheet(sheet, pixels, doc.currentScene().palette, static_cast<std::uint8_t>(subPalette), 2);
    return writePng(sheet, inv.positional[2], io);
}

}  // namespace velmar::cli
