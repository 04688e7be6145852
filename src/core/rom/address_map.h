#pragma once

#include <optional>

#include "rom/types.h"

// The fixed layout of romData. PRG: eight 16 KB banks from offset 0; the CPU sees one switchable
// bank at 0x8000-0xBFFF and bank 7 fixed at 0xC000-0xFFFF. CHR: 4 KB pattern banks from 0x20000.
namespace velmar::rommap {

constexpr RomOffset kBankSize = 0x4000;
constexpr RomOffset kPrgSize = 8 * kBankSize;
constexpr RomOffset kChrStart = 0x20000;
constexpr RomOffset kPatternBankSize = 0x1000;
constexpr int kPatternBankCount = 32;
constexpr RomOffset kImageSize = kChrStart + kPatternBankCount * kPatternBankSize;  // 0x40000

constexpr RomOffset bankStart(int bank) { return bank * kBankSize; }

// The romData offset of CPU address `address` in the switchable window 0x8000-0xBFFF while bank
// `bank` is switched in. Which bank holds a kind of data is fixed (below); the pointer's own
// bank bits are ignored.
constexpr RomOffset bankOffset(std::int32_t address, int bank) { return (address & 0x3FFF) + bankStart(bank); }

// Which bank each kind of data lives in is fixed by the editor, not read from the game.
constexpr int kSceneBank = 0;     // maps and scene/stage tables
constexpr int kMetatileBank = 1;  // subtile, metatile and attribute tables
constexpr int kActorBank = 2;     // sprite frames, animations, actor tables
constexpr int kTextBank = 5;
constexpr int kFixedBank = 7;

constexpr int kSceneCount = 48;
constexpr int kStageCount = 22;

// Scene tables (bank 0), one entry per scene unless noted.
constexpr RomOffset kMapPointers = 0x2C30;        // 2 bytes per scene
constexpr RomOffset kBackColourSprBank = 0x2C90;  // high nibble: shared colour, low: SPR bank
constexpr RomOffset kSprPal2Selectors = 0x2CC0;
constexpr RomOffset kSprPal3Selectors = 0x2CF0;
constexpr RomOffset kDirectionLength = 0x2D20;  // bit 7 direction, bits 0-6 screens - 1
constexpr RomOffset kStartX = 0x2D50;
constexpr RomOffset kStartY = 0x2D80;
constexpr RomOffset kItemCounts = 0x2E10;
constexpr RomOffset kEnemyCounts = 0x2E40;

// Stage tables (bank 0), one entry per stage.
constexpr RomOffset kTilesets = 0x2F00;
constexpr RomOffset kBkgBanks = 0x2F16;  // BKG pattern bank times 8
constexpr RomOffset kReloads = 0x2F2C;
constexpr RomOffset kBkgPal1Selectors = 0x2F42;
constexpr RomOffset kBkgPal2Selectors = 0x2F58;
constexpr RomOffset kIndicators = 0x2F6E;
constexpr RomOffset kItemAnimations = 0x2F84;
constexpr RomOffset kTimes = 0x2FB0;
constexpr RomOffset kBkgPal3Selectors = 0x3FE0;

// Colours: three-byte background and sprite palettes, and the 16 shared background colours.
constexpr RomOffset kBkgPalettes = 0x3000;
constexpr RomOffset kSprPalettes = 0x3100;
constexpr RomOffset kSharedColours = 0x3200;

// Selectors shared by every scene, in the fixed bank.
constexpr RomOffset kBkgPal0Selector = 0x1F6C2;
constexpr RomOffset kSprPal0Selector = 0x1F6F6;
constexpr RomOffset kSprPal1Selector = 0x1F6FB;

// Map packing area in bank 0: from 0x0000 up; a map may not end inside the tables at
// 0x2401-0x358F and then continues at 0x3590; nothing beyond 0x3FC0.
constexpr RomOffset kMapAreaStart = 0x0000;
constexpr RomOffset kMapAreaGapFirst = 0x2401;
constexpr RomOffset kMapAreaSecondStart = 0x3590;
constexpr RomOffset kMapAreaLast = 0x3FC0;
constexpr int kMaxMapLength = 16;  // screens minus one
constexpr int kScreenBytes = 48;

// Sprite frames and animations (bank 2).
constexpr RomOffset kEnemyFrameTiles = 0x8000;
constexpr RomOffset kEnemyFrameAttributes = 0x8200;
constexpr RomOffset kPlayerFrameTiles = 0x8400;
constexpr RomOffset kPlayerFrameAttributes = 0x8500;
constexpr RomOffset kAnimations = 0x8600;
constexpr int kAnimationCount = 109;  // the sprite editor's animations 0..108

// Actor table pointers (bank 2), 2 bytes per scene, and the packed tables behind them.
constexpr RomOffset kItemXPointers = 0x8700;
constexpr RomOffset kItemYIdPointers = 0x8760;
constexpr RomOffset kEnemyBPointers = 0x87C0;
constexpr RomOffset kEnemyXYPointers = 0x8820;
constexpr RomOffset kEnemyIdPointers = 0x8880;
constexpr RomOffset kActorAreaStart = 0x9B48;
constexpr CpuAddress kActorAreaCpu = 0x9B48;

// Enemy handler pointers in the fixed bank, one per enemy type.
constexpr RomOffset kEnemyHandlers = 0x1C195;

// Texts (bank 5): 113 pointers, then the packed texts.
constexpr int kTextCount = 113;
constexpr RomOffset kTextPointers = 0x152D0;
constexpr RomOffset kTextAreaStart = 0x153B2;
constexpr CpuAddress kTextAreaCpu = 0x93B2;

constexpr RomOffset patternBankOffset(int bank) { return kChrStart + bank * kPatternBankSize; }

}  // namespace velmar::rommap

namespace velmar {

// Converts a CPU address into a romData offset: 0x8000-0xBFFF -> (a AND mask) + base (the bank
// the data is known to live in), 0xC000 and above -> (a AND mask) + 0x1C000 (the fixed bank).
// Below 0x8000 is not a ROM address: nullopt.
std::optional<RomOffset> cpuToRomOffset(CpuAddress address, std::int32_t mask, RomOffset base);

// Reads the little-endian 16-bit game pointer at `offset`. Without `convert` the raw value comes
// back; with it, the converted romData offset. nullopt when the bytes are outside romData or the
// pointer is below 0x8000.
std::optional<std::int32_t> readPointer(const Bytes& rom, RomOffset offset, bool convert, std::int32_t mask,
                                        RomOffset base);

// The CPU address at which the switchable window shows romData offset `offset` of its bank.
constexpr CpuAddress romOffsetToCpu(RomOffset offset) { return 0x8000 + (offset & 0x3FFF); }

}  // namespace velmar
