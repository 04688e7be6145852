#pragma once

#include <array>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "rom/rom_file.h"

namespace velmar::test {

// The sample image, built once per test program and copied for each caller.
const RomImage& sampleImage();

// A fresh folder under the system's temporary folder, removed when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& path, const std::string& contents);
std::string readFile(const std::filesystem::path& path);

inline Bytes bytesOf(const std::string& text) { return {text.begin(), text.end()}; }
inline std::string textOf(const Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

// Bytes put into an image from `at` on; a word as the game stores pointers, low byte first.
inline void putBytes(Bytes& rom, RomOffset at, std::initializer_list<int> bytes)
{
    for (const int b : bytes)
        rom[static_cast<std::size_t>(at++)] = static_cast<std::uint8_t>(b);
}
// A scene palette whose entry i is colour `first` + i, so that every entry shows apart.
inline std::array<std::uint8_t, 32> countingPalette(int first)
{
    std::array<std::uint8_t, 32> p{};
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = static_cast<std::uint8_t>(first + static_cast<int>(i));
    return p;
}
inline void putWord(Bytes& rom, RomOffset at, CpuAddress value) { putBytes(rom, at, {value & 0xFF, value >> 8}); }

}  // namespace velmar::test
