#include "sample/sample_rom.h"

#include "rom/address_map.h"

namespace velmar {

// Placeholder until the sample builder lands: a header and an empty image of the right size.
RomImage buildSampleRom()
{
    RomImage image;
    image.romHeader = {'N', 'E', 'S', 0x1A, 8, 16, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    image.romData.assign(rommap::kImageSize, 0);
    return image;
}

}  // namespace velmar
