#include "support/test_support.h"

#include <fstream>
#include <random>
#include <sstream>

#include "sample/sample_rom.h"

namespace velmar::test {

namespace fs = std::filesystem;

const RomImage& sampleImage()
{
    static const RomImage image = buildSampleRom();
    return image;
}

TempDir::TempDir()
{
    std::random_device entropy;
    for (;;) {
        path_ = fs::temp_directory_path() / ("velmar-test-" + std::to_string(entropy()));
        if (fs::create_directory(path_))
            break;
    }
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void writeFile(const fs::path& path, const std::string& contents)
{
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace velmar::test
