// libFuzzer target: the files of a modification folder that people edit by hand and merge
// (manifest.json, scenes/*.json, texts.txt, palettes.json, frames.json, animations.json), imported
// over the sample's remainder. The input's last byte picks the file; the rest is the file. Any
// file but the manifest comes alone, with a manifest that lists it; a manifest comes with the
// sample's whole folder, so that every file it may list is there (its seed lists a few: each file
// listed is one more import).
//
// Promises checked:
//  - a refused folder leaves the image as it was, and its reason begins with the file's name (the
//    fuzzed file's, unless that is the manifest);
//  - an accepted folder gives the same image when it is imported again (an import keeps nothing
//    from one folder to the next).

#include <string>

#include "exchange/rom_folder.h"
#include "fuzz_support.h"
#include "text/char_table.h"

namespace {

using namespace velmar;
using namespace velmar::exchange;

const CharTable& builtInTable()
{
    static const CharTable table = [] {
        CharTable t;
        applyDefaultCharTable(t);
        return t;
    }();
    return table;
}

const FolderFiles& sampleFolder()
{
    static const FolderFiles files = [] {
        FolderFiles out;
        if (!exportFolder(fuzz::sampleImage(), builtInTable(), out).ok())
            fuzz::broken("the sample's folder cannot be exported");
        return out;
    }();
    return files;
}

// The files an input may stand for: the text files, and one scene of each kind of stage.
constexpr const char* kFiles[] = {kManifestFile,   "scenes/000000.json", "scenes/010203.json", "texts.txt",
                                  "palettes.json", "frames.json",        "animations.json"};

FolderOutcome import(const FolderFiles& files, RomImage& out)
{
    return importFolder(
        [&files](const std::string& name, std::string& reason) -> std::optional<Bytes> {
            const auto it = files.find(name);
            if (it == files.end()) {
                reason = "No such file or directory";
                return std::nullopt;
            }
            return it->second;
        },
        builtInTable(), out);
}

}  // namespace

// The sample's folder is made before the first input: under the sanitizers that takes longer than
// an input may.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    (void)sampleFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string name = kFiles[data[size - 1] % std::size(kFiles)];
    const Bytes file(data, data + size - 1);

    FolderFiles files;
    if (name == kManifestFile) {
        files = sampleFolder();
    } else {
        files[kRemainderFile] = sampleFolder().at(kRemainderFile);
        const std::string manifest =
            R"({"format": "velmar-folder", "version": 1, "remainder": "remainder.nes", "files": [")" + name + "\"]}";
        files[kManifestFile] = Bytes(manifest.begin(), manifest.end());
    }
    files[name] = file;

    RomImage image;
    image.romData = {7};
    const FolderOutcome r = import(files, image);
    if (!r.ok()) {
        if (image.romData != Bytes{7})
            fuzz::broken("a refused folder changed the image");
        // (A manifest may list the sample's files in an order or a choice that refuses one of them.)
        if (name != kManifestFile && r.reason.rfind(name + ": ", 0) != 0)
            fuzz::broken("a refusal does not name the file");
        return 0;
    }
    RomImage again;
    if (!import(files, again).ok() || !(again == image))
        fuzz::broken("a folder imported twice gives two images");
    return 0;
}
