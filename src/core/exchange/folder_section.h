#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "editor/document.h"
#include "exchange/json_text.h"
#include "text/char_table.h"
#include "text/text_packer.h"

// The files of a modification folder, one part of the image each. Every part reads its things
// with the core's decoders and writes them back through the document's edits, so that the folder
// changes the image in no way the editor does not.
namespace velmar::exchange {

// How reading or writing a folder ended.
enum class [[nodiscard]] FolderResult{
    Ok = 0,
    Unreadable = 1,  // a file cannot be read or written (the system's reason)
    BadFile = 2,     // a file of the folder is wrong: the reason names the file and the place
    NotExact = 3,    // the image does not come back whole from the folder it would make
};
using FolderOutcome = Outcome<FolderResult>;

// One file of the folder and what it describes.
struct FolderPart {
    std::string file;  // its name in the folder, '/' between folders ("banks/03.png")
    // The file for the document's image; nullopt when the image's bytes do not read as such
    // things (they then stay in the remainder like any other byte no file describes).
    std::function<std::optional<Bytes>(const Document&)> describe;
    // Puts every thing the file describes into one fixed blank form, the same whatever the things
    // were, through the same edits; false when that cannot be done.
    std::function<bool(Document&)> blank;
    // Applies the file to the document; the reason names the place in the file, not the file.
    std::function<FolderOutcome(Document&, const Bytes&)> apply;
};

// The scene files of the area tree's scenes. The parts of one call make one import: a value
// several scenes share must be the same in each of their files.
std::vector<FolderPart> sceneParts();
// A text without its end code is refused unless `endCode` allows it.
FolderPart textPart(const CharTable& table, EndCode endCode);
FolderPart palettePart();
FolderPart framePart();
FolderPart animationPart();
FolderPart bankPart(int bank);

// A failure of a part's file: "line 3: ...", "enemy[2]: ...".
inline FolderOutcome badFile(std::string reason)
{
    return FolderOutcome::failure(FolderResult::BadFile, std::move(reason));
}

// The apply of a part whose file is JSON: the file is read through readJson, whose refusal is the
// part's, and `apply` takes the value.
inline std::function<FolderOutcome(Document&, const Bytes&)> jsonApply(FolderOutcome (*apply)(Document&, const Json&))
{
    return [apply](Document& doc, const Bytes& file) {
        FolderOutcome result;
        if (std::string fault = readJson(file, [&](const Json& value) { result = apply(doc, value); }); !fault.empty())
            return badFile(std::move(fault));
        return result;
    };
}

}  // namespace velmar::exchange
