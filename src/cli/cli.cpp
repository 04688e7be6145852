#include "cli.h"

#include <array>
#include <limits>

#include "commands.h"

namespace velmar {

namespace {

using namespace cli;

constexpr std::size_t kAnyCount = std::numeric_limits<std::size_t>::max();

struct Command {
    std::string_view name;
    std::string_view usage;
    std::size_t minArgs;
    std::size_t maxArgs;
    bool takesLeft;
    bool takesTable;
    bool takesActors;
    std::size_t paletteWords;  // the words after --palette: 0 (not taken), KEY, or KEY SUBPALETTE
    bool takesShared;          // --shared keep|change
    int (*run)(const Invocation&, Io&);
    bool takesPastEnd = false;  // --past-end drop|keep
};

constexpr std::array<Command, 33> kCommands{{
    {"sample", "sample OUT", 1, 1, false, false, false, 0, false, runSample},
    {"scenes", "scenes ROM", 1, 1, false, false, false, 0, false, runScenes},
    {"scene", "scene ROM KEY", 2, 2, false, false, false, 0, false, runScene},
    {"roundtrip", "roundtrip ROM OUT [KEY...]", 2, kAnyCount, false, false, false, 0, false, runRoundtrip},
    {"resize-map", "resize-map ROM KEY LENGTH [--left] [--past-end drop|keep]", 3, 3, true, false, false, 0, false,
     runResizeMap, true},
    {"resize-items", "resize-items ROM KEY COUNT", 3, 3, false, false, false, 0, false, runResizeItems},
    {"resize-enemies", "resize-enemies ROM KEY COUNT", 3, 3, false, false, false, 0, false, runResizeEnemies},
    {"set-enemy", "set-enemy ROM KEY N B XY ID", 6, 6, false, false, false, 0, false, runSetEnemy},
    {"set-item", "set-item ROM KEY N X Y ID", 6, 6, false, false, false, 0, false, runSetItem},
    {"add-enemy", "add-enemy ROM KEY B XY ID", 5, 5, false, false, false, 0, false, runAddEnemy},
    {"add-item", "add-item ROM KEY X Y ID", 5, 5, false, false, false, 0, false, runAddItem},
    {"delete-enemy", "delete-enemy ROM KEY N", 3, 3, false, false, false, 0, false, runDeleteEnemy},
    {"delete-item", "delete-item ROM KEY N", 3, 3, false, false, false, 0, false, runDeleteItem},
    {"set-start", "set-start ROM KEY X Y", 4, 4, false, false, false, 0, false, runSetStart},
    {"set-property", "set-property ROM KEY NAME VALUE", 4, 4, false, false, false, 0, false, runSetProperty},
    {"set-subtile", "set-subtile ROM KEY N QUARTER TILE", 5, 5, false, false, false, 0, false, runSetSubtile},
    {"set-metatile", "set-metatile ROM KEY N QUARTER SUBTILE", 5, 5, false, false, false, 0, false, runSetMetatile},
    {"set-attribute", "set-attribute ROM KEY N QUARTER PALETTE", 5, 5, false, false, false, 0, false, runSetAttribute},
    {"texts", "texts ROM [--table FILE]", 1, 1, false, true, false, 0, false, runTexts},
    {"set-text", "set-text ROM N TEXT [--table FILE] [--allow-no-end]", 3, 3, false, true, false, 0, false, runSetText},
    {"render", "render ROM KEY OUT.png [--actors]", 3, 3, false, false, true, 0, false, runRender},
    {"sheet", "sheet ROM KEY OUT.png", 3, 3, false, false, false, 0, false, runSheet},
    {"tiles", "tiles ROM BANK OUT.png [--palette KEY SUBPALETTE]", 3, 3, false, false, false, 2, false, runTiles},
    {"import-tiles", "import-tiles ROM BANK IN.png [--palette KEY SUBPALETTE]", 3, 3, false, false, false, 2, false,
     runImportTiles},
    {"frames", "frames ROM SET OUT.png [--palette KEY]", 3, 3, false, false, false, 1, false, runFrames},
    {"patch", "patch ORIGINAL EDITED OUT.ips|OUT.bps", 3, 3, false, false, false, 0, false, runPatch},
    {"apply", "apply PATCH ROM OUT", 3, 3, false, false, false, 0, false, runApply},
    {"export-scene", "export-scene ROM KEY OUT.json", 3, 3, false, false, false, 0, false, runExportScene},
    {"import-scene", "import-scene ROM KEY IN.json [--shared keep|change]", 3, 3, false, false, false, 0, true,
     runImportScene},
    {"export-tiled", "export-tiled ROM KEY OUT.tmj", 3, 3, false, false, false, 0, false, runExportTiled},
    {"import-tiled", "import-tiled ROM KEY IN.tmj [--shared keep|change]", 3, 3, false, false, false, 0, true,
     runImportTiled},
    {"export", "export ROM DIR [--table FILE]", 2, 2, false, true, false, 0, false, runExport},
    {"import", "import DIR OUT.nes [--table FILE] [--allow-no-end]", 2, 2, false, true, false, 0, false, runImport},
}};

void printUsage(std::ostream& os)
{
    os << "usage:\n";
    for (const Command& command : kCommands)
        os << "  velmar-cli " << command.usage << '\n';
    os << "KEY is a scene key such as c:000101; LENGTH, COUNT, BANK and the values are hexadecimal.\n"
          "QUARTER is 0 (top left), 1 (bottom left), 2 (top right) or 3 (bottom right).\n";
}

// The commands that store typed texts may be told to store one without its end code.
bool storesTexts(const Command& command) { return command.name == "set-text" || command.name == "import"; }

const Command* findCommand(std::string_view name)
{
    for (const Command& command : kCommands) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Io io{out, err};
    if (args.empty()) {
        printUsage(err);
        return kExitUsage;
    }
    if (args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        printUsage(out);
        return kExitOk;
    }
    const Command* command = findCommand(args[0]);
    if (!command) {
        err << "velmar-cli: unknown command \"" << args[0] << "\"\n";
        printUsage(err);
        return kExitUsage;
    }

    Invocation inv;
    inv.usage = command->usage;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (optionsEnded || word.size() < 2 || word.compare(0, 2, "--") != 0) {
            inv.positional.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (word == "--left" && command->takesLeft) {
            inv.left = true;
        } else if (word == "--actors" && command->takesActors) {
            inv.actors = true;
        } else if (word == "--palette" && command->paletteWords > 0) {
            const std::size_t words = command->paletteWords;
            if (args.size() - 1 - i < words)
                return usageError(inv, io,
                                  words == 1 ? "--palette needs a scene key"
                                             : "--palette needs a scene key and a sub-palette");
            inv.palette = PaletteOption{args[i + 1], words == 2 ? args[i + 2] : std::string()};
            i += words;
        } else if (word == "--shared" && command->takesShared) {
            if (i + 1 == args.size() || (args[i + 1] != "keep" && args[i + 1] != "change"))
                return usageError(inv, io, "--shared needs keep or change");
            inv.shared = args[++i] == "keep" ? SharedValues::Keep : SharedValues::Change;
        } else if (word == "--past-end" && command->takesPastEnd) {
            if (i + 1 == args.size() || (args[i + 1] != "drop" && args[i + 1] != "keep"))
                return usageError(inv, io, "--past-end needs drop or keep");
            inv.pastEnd = args[++i] == "drop" ? edits::ActorsPastEnd::Remove : edits::ActorsPastEnd::Keep;
        } else if (word == "--allow-no-end" && storesTexts(*command)) {
            inv.allowNoEnd = true;
        } else if (word == "--table" && command->takesTable) {
            if (i + 1 == args.size())
                return usageError(inv, io, "--table needs a file");
            inv.table = args[++i];
        } else {
            return usageError(inv, io, "unknown option \"" + word + "\"");
        }
    }
    if (inv.positional.size() < command->minArgs)
        return usageError(inv, io, "too few arguments");
    if (inv.positional.size() > command->maxArgs)
        return usageError(inv, io, "too many arguments");
    return command->run(inv, io);
}

}  // namespace velmar
