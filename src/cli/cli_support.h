#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "editor/document.h"
#include "editor/edits.h"
#include "exchange/scene_description.h"
#include "rom/area_catalogue.h"
#include "rom/rom_file.h"
#include "text/char_table.h"

namespace velmar::cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitFailed = 1,  // the operation was refused or failed; its message is on stderr
    kExitUsage = 2,   // the command line is wrong; a usage line is on stderr
};

struct Io {
    std::ostream& out;
    std::ostream& err;
};

// --palette: the scene whose palette and banks a picture is drawn with, and for the tile
// commands the sub-palette (empty for the commands that take the scene alone).
struct PaletteOption {
    std::string sceneKey;
    std::string subPalette;
};

// One command line after option parsing.
struct Invocation {
    std::string_view usage;  // the command's usage, e.g. "scene ROM KEY"
    std::vector<std::string> positional;
    bool left = false;                     // --left
    std::optional<std::string> table;      // --table FILE
    bool actors = false;                   // --actors
    std::optional<PaletteOption> palette;  // --palette KEY [SUBPALETTE]
    // --shared: what an import does with values other scenes share when they differ.
    SharedValues shared = SharedValues::Refuse;
    // --past-end: what a shrink of the map does with the actors it leaves past the new end.
    edits::ActorsPastEnd pastEnd = edits::ActorsPastEnd::Refuse;
    bool allowNoEnd = false;  // --allow-no-end: texts may be stored without their end code
};

// Prints `reason` and the command's usage line; returns kExitUsage.
int usageError(const Invocation& inv, Io& io, std::string_view reason);

// Prints the operation's message on stderr; returns kExitFailed.
int failed(Io& io, std::string_view message);

// A scene key as the area tree writes them ("c:" and act, stage, scene as two hexadecimal digits
// each), naming one of the 22 stages and one of the 48 scene slots. nullopt for anything else.
std::optional<SceneKey> sceneKeyArg(std::string_view text);

// Opens the image as the editor does (a cut-off image is refused); on failure prints the
// program's read message with the path and the reason, and returns false. Where the header
// disagrees with the game's layout, a warning goes to stderr and the image is opened.
bool openRomArg(const std::string& path, Document& doc, Io& io);

// Writes the document over its file (never creating one); on failure prints the program's I/O
// message with the reason and returns false.
bool saveRomArg(Document& doc, Io& io);

// The character table a text command works with: the built-in table, or the entries of the
// --table file. On failure prints why and returns nullopt.
std::optional<CharTable> charTableArg(const Invocation& inv, Io& io);

// Opens the image and selects one scene of it as the editor does, with its banks and tables.
// On failure prints why and returns false.
bool openSceneArg(const std::string& romPath, std::string_view keyText, const Invocation& inv, Io& io, Document& doc,
                  int& exitCode);

// Reads `count` bytes typed as the editor's boxes take them (one or two hexadecimal digits) from
// argument `first` on; on the first that is not a byte reports a usage error and returns false.
bool byteArgs(const Invocation& inv, Io& io, std::size_t first, std::uint8_t* out, std::size_t count, int& exitCode);

// The end of a command that makes one edit: rewrites the file when the edit changed a byte,
// leaves it alone when it changed none, and prints the reason when it was refused.
int finishEdit(const Outcome<EditResult>& result, Document& doc, Io& io);

// A typed hexadecimal number, read whole: one to eight hexadecimal digits and nothing else
// ("twelve", "-1", "0x5" and "" are not numbers). The value saturates at INT_MAX so that it still
// compares as too large.
std::optional<int> hexArg(std::string_view text);

}  // namespace velmar::cli
