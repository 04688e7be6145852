#include "sample/sample_rom.h"

#include "gfx/pattern_tiles.h"
#include "rom/address_map.h"
#include "sample/sample_actors.h"
#include "sample/sample_background_art.h"
#include "sample/sample_levels.h"
#include "sample/sample_maps.h"
#include "sample/sample_metatiles.h"
#include "sample/sample_plan.h"
#include "sample/sample_sprite_art.h"
#include "sample/sample_sprites.h"
#include "sample/sample_texts.h"

namespace velmar {

using namespace sample;

namespace {

// The pattern banks go in through the same encoder the editor saves tiles with. Every bank
// number is one of the image's 32 and every drawing is a whole bank, so none can fail.
void drawPatternBanks(Bytes& rom)
{
    for (int bank = 0; bank < kSpriteBankCount; ++bank)
        (void)saveChrBank(rom, drawSpriteBank(bank), bank);
    for (int t = 0; t < kThemeCount; ++t)
        for (int variant = 0; variant < 2; ++variant)
            (void)saveChrBank(rom, drawBackgroundBank(static_cast<Theme>(t), variant),
                              themeBank(static_cast<Theme>(t), variant));
    (void)saveChrBank(rom, drawFontBank(), kFontBank);
}

}  // namespace

RomImage buildSampleRom()
{
    RomImage image;
    // "NES" 0x1A, 8 PRG banks of 16 KB, 16 CHR banks of 8 KB, mapper 1 (MMC1) in flags 6.
    image.romHeader = {'N', 'E', 'S', 0x1A, 8, 16, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    image.romData.assign(rommap::kImageSize, 0);

    SceneLayouts layouts;
    for (int sc = 0; sc < rommap::kSceneCount; ++sc)
        layouts[static_cast<std::size_t>(sc)] = buildSceneLayout(sc);

    // Every write lies inside the image, so these fail only if the sample's own data breaks a
    // limit (maps, actors or texts that outgrow their area), which the sample tests, reading
    // every scene and text back, would show. The packed data goes in through the editor's own
    // packers, so the sample is laid out exactly as an edited image would be.
    RomWriter writer(image.romData);
    writeLevelTables(writer, layouts);
    writeMetatileTables(writer);
    writeSprites(writer);
    (void)writer.commit();
    (void)writeMaps(image.romData, layouts);
    (void)writeActors(image.romData, layouts);
    (void)writeTexts(image.romData);
    drawPatternBanks(image.romData);
    return image;
}

}  // namespace velmar
