#include "editor/session.h"

#include <algorithm>

#include "expansion/actor_packer.h"
#include "rom/scene_codec.h"
#include "text/text_packer.h"

namespace velmar {

RomReadResult openRom(EditorState& state, const std::string& path, bool checkDrive,
                      const std::vector<Volume>& volumes)
{
    RomImage image;
    std::string found = path;
    const RomReadResult r = checkDrive ? readRomFileOnAnyDrive(found, image, volumes)
                                       : readRomFile(pathFromUtf8(found), image);
    if (r != RomReadResult::Ok)
        return r;
    state.rom = std::move(image);
    state.romPath = found;
    state.savedRomData = state.rom.romData;
    state.actorAreaEnd = actorAreaEnd(state.rom.romData);
    state.textAreaEnd = textAreaEnd(state.rom.romData);
    state.suppressSceneStore = true;
    return r;
}

namespace {

RomStatus storeSceneInto(Bytes& rom, SceneRecord& scene, const PixelArray& spr, const PixelArray& bkg)
{
    RomStatus s = storeScene(rom, scene);
    if (s.ok())
        s = saveChrBank(rom, spr, scene.sprBank);
    if (s.ok())
        s = saveChrBank(rom, bkg, scene.bkgBank);
    return s;
}

}  // namespace

RomStatus storeCurrentScene(EditorState& state)
{
    if (state.suppressSceneStore)
        return {};
    return storeSceneInto(state.rom.romData, state.currentScene, state.sprPatterns, state.bkgPatterns);
}

RomStatus selectScene(EditorState& state, std::uint8_t stage, std::uint8_t scene)
{
    if (RomStatus s = storeCurrentScene(state); !s.ok())
        return s;
    const Bytes& rom = state.rom.romData;
    SceneRecord next;
    PixelArray spr, bkg;
    MetatileTables tables;
    RomStatus s = loadScene(rom, stage, scene, next);
    if (s.ok())
        s = loadChrBank(rom, spr, next.sprBank);
    if (s.ok())
        s = loadChrBank(rom, bkg, next.bkgBank);
    if (s.ok())
        s = loadMetatileTables(rom, next, tables);
    if (!s.ok())
        return s;
    state.currentScene = std::move(next);
    state.sprPatterns = std::move(spr);
    state.bkgPatterns = std::move(bkg);
    state.metatiles = tables;
    state.suppressSceneStore = false;
    return {};
}

int saveRom(EditorState& state)
{
    if (!storeCurrentScene(state).ok())
        return 1;
    if (writeRomFile(pathFromUtf8(state.romPath), state.rom) != 0)
        return 1;
    state.savedRomData = state.rom.romData;
    return 0;
}

Bytes imageWithCurrentScene(const EditorState& state)
{
    RomImage copy = state.rom;
    if (!state.suppressSceneStore) {
        SceneRecord scene = state.currentScene;
        storeSceneInto(copy.romData, scene, state.sprPatterns, state.bkgPatterns);
    }
    return copy.fileBytes();
}

bool hasUnsavedChanges(const EditorState& state)
{
    if (state.romPath.empty())
        return false;
    const Bytes file = imageWithCurrentScene(state);
    return !std::equal(file.begin() + 16, file.end(), state.savedRomData.begin(), state.savedRomData.end());
}

}  // namespace velmar
