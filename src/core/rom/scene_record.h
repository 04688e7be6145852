#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "rom/types.h"

namespace velmar {

// A power-up: map column x (16-pixel units), row in the high nibble of y, type 0..15.
struct ItemRecord {
    std::uint8_t x = 0;
    std::uint8_t y = 0;  // 0x00, 0x10 .. 0xF0 as stored; the low nibble stays as loaded
    std::uint8_t id = 0;

    bool operator==(const ItemRecord&) const = default;
};

// An enemy: base column b, then row (high nibble) and column inside that screen (low nibble).
struct EnemyRecord {
    std::uint8_t b = 0;
    std::uint8_t xy = 0;
    std::uint8_t id = 0;

    bool operator==(const EnemyRecord&) const = default;
};

// One scene decoded from romData. Stage-wide values (reload, indicator, time, tileset, BKG bank,
// background selectors 1-3) are shared by every scene of the stage once stored.
struct SceneRecord {
    std::uint8_t stage = 0;
    std::uint8_t scene = 0;
    std::uint8_t length = 0;     // screens minus one
    std::uint8_t direction = 0;  // 0 or 0x80 (the scene scrolls right to left)
    std::uint8_t startX = 0;
    std::uint8_t startY = 0;
    std::uint8_t enemyCount = 0;
    std::uint8_t itemCount = 0;
    std::uint8_t reload = 0;
    std::uint8_t indicator = 0;
    std::uint8_t time = 0;
    CpuAddress mapAddress = 0;
    std::uint8_t tileset = 0;
    CpuAddress subtileAddress = 0;
    CpuAddress metatileAddress = 0;
    CpuAddress attributeAddress = 0;
    std::uint8_t bkgBank = 0;
    std::uint8_t sprBank = 0;
    std::uint8_t itemAnimation = 0;
    // Background sub-palettes 0-3, then sprite sub-palettes 0-3.
    std::array<std::uint8_t, 8> palSelectors{};
    RomOffset itemXAddress = 0;
    RomOffset itemYIdAddress = 0;
    RomOffset enemyBAddress = 0;
    RomOffset enemyXYAddress = 0;
    RomOffset enemyIdAddress = 0;
    // (length + 1) screens of 48 metatile numbers: index = screen * 48 + column * 6 + row.
    Bytes map;
    // Eight sub-palettes of four NES colours; 0-15 background, 16-31 sprites.
    std::array<std::uint8_t, 32> palette{};
    std::vector<ItemRecord> items;
    std::vector<EnemyRecord> enemies;

    bool operator==(const SceneRecord&) const = default;
};

// The scene's subtile and metatile definitions, as its tileset selects them.
struct MetatileTables {
    // Four pattern tile numbers: top left, bottom left, top right, bottom right.
    std::array<std::array<std::uint8_t, 4>, 256> subtileDefs{};
    // Attribute byte, then four subtile numbers in the same column-first order.
    std::array<std::array<std::uint8_t, 5>, 256> metatileDefs{};

    bool operator==(const MetatileTables&) const = default;
};

}  // namespace velmar
