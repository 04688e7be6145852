// palettes.json: the colour tables every scene's palette is made of, as the game keeps them:
// the 16 shared background colours and the three-colour sub-palettes the selectors pick.
#include "exchange/folder_section.h"
#include "exchange/json_text.h"
#include "rom/address_map.h"
#include "rom/rom_access.h"

namespace velmar::exchange {

namespace {

using namespace rommap;

constexpr int kSharedCount = 16;
// The triples that fit in the 256 bytes before the next table (0x3000 and 0x3100).
constexpr int kTripleCount = 85;

struct Table {
    const char* name;
    RomOffset at;
    int entries;
    int width;
};
constexpr Table kTables[] = {
    {"shared", kSharedColours, 1, kSharedCount},
    {"background", kBkgPalettes, kTripleCount, 3},
    {"sprite", kSprPalettes, kTripleCount, 3},
};

std::optional<Bytes> describePalettes(const Document& doc)
{
    RomReader r(doc.romData());
    Json file = Json::object();
    for (const Table& t : kTables) {
        Json entries = Json::array();
        for (int e = 0; e < t.entries; ++e) {
            Json colours = Json::array();
            for (int c = 0; c < t.width; ++c)
                colours.push_back(r.byte(t.at + e * t.width + c));
            entries.push_back(colours);
        }
        file[t.name] = t.entries == 1 ? entries[0] : entries;
    }
    return r.ok() ? std::optional(formatJson(file)) : std::nullopt;
}

// The colour tables as one "Edit Palette" step.
Outcome<EditResult> writePalettes(Document& doc, const Bytes& colours)
{
    return doc.edit({"Edit Palette", part::Palette, Document::kFocusNone}, [&](EditContext& c) {
        RomWriter w(c.image());
        std::size_t next = 0;
        for (const Table& t : kTables) {
            for (int i = 0; i < t.entries * t.width; ++i)
                w.byte(t.at + i, colours[next++]);
        }
        return w.commit().ok();
    });
}

constexpr std::size_t kColourCount = kSharedCount + 2 * 3 * kTripleCount;

bool blankPalettes(Document& doc)
{
    const Outcome<EditResult> r = writePalettes(doc, Bytes(kColourCount, 0));
    return r.ok() || r.code == EditResult::NoChange;
}

FolderOutcome applyPalettes(Document& doc, const Json& file)
{
    JsonFields f;
    Bytes colours;
    for (const Table& t : kTables) {
        const Json& table = f.member(file, "", t.name);
        if (t.entries == 1) {
            const Json& list = f.array(table, t.name, static_cast<std::size_t>(t.width));
            for (std::size_t c = 0; c < list.size(); ++c)
                colours.push_back(f.byte(list[c], std::string(t.name) + "[" + std::to_string(c) + "]"));
            continue;
        }
        const Json& entries = f.array(table, t.name, static_cast<std::size_t>(t.entries));
        for (std::size_t e = 0; e < entries.size(); ++e) {
            const std::string where = std::string(t.name) + "[" + std::to_string(e) + "]";
            const Json& list = f.array(entries[e], where, static_cast<std::size_t>(t.width));
            for (std::size_t c = 0; c < list.size(); ++c)
                colours.push_back(f.byte(list[c], where + "[" + std::to_string(c) + "]"));
        }
    }
    if (!f.ok())
        return badFile(f.fault());
    if (const Outcome<EditResult> r = writePalettes(doc, colours); !r.ok() && r.code != EditResult::NoChange)
        return badFile(r.reason.empty() ? "the colours could not be stored" : r.reason);
    return {};
}

}  // namespace

FolderPart palettePart() { return {"palettes.json", describePalettes, blankPalettes, jsonApply(applyPalettes)}; }

}  // namespace velmar::exchange
