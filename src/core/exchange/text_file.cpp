// texts.txt: the 113 texts, a line each, as the text editor lists them ("0A: text\0"). The
// backslash sequences are the character table's own entries, so a line says exactly what the
// text editor shows and takes.
#include "editor/edits.h"
#include "exchange/folder_section.h"
#include "rom/address_map.h"
#include "base/hex.h"
#include "text/text_codec.h"
#include "text/text_packer.h"

namespace velmar::exchange {

namespace {

std::string linePrefix(int n) { return hexPad(n, 2) + ": "; }

std::optional<Bytes> describeTexts(const Document& doc, const CharTable& table)
{
    const TextList list = decodeAllTexts(doc.romData(), table);
    if (!list.status.ok())
        return std::nullopt;
    std::string file;
    for (std::size_t n = 0; n < list.texts.size(); ++n) {
        const std::string& text = list.texts[n];
        // A table entry holding a line break would split the text over two lines.
        if (text.find_first_of("\r\n") != std::string::npos)
            return std::nullopt;
        file += linePrefix(static_cast<int>(n)) + text + '\n';
    }
    return Bytes(file.begin(), file.end());
}

bool blankTexts(Document& doc)
{
    // Every text just its end code, packed by the game's packer: the area keeps its end.
    const std::vector<Bytes> ends(rommap::kTextCount, Bytes{kTextEnd});
    const RomOffset areaEnd = doc.textAreaEnd();
    const TextPackOutcome r = edits::editWithOutcome<TextPackOutcome>(
        doc, {"Edit Texts", part::Texts, Document::kFocusNone}, TextPackResult::BadData,
        [&](EditContext& c) { return packEncodedTexts(c.image(), ends, areaEnd); });
    return r.ok();
}

FolderOutcome applyTexts(Document& doc, const CharTable& table, EndCode endCode, const Bytes& file)
{
    std::vector<std::string> texts;
    // Some editors on Windows begin a UTF-8 file with a byte order mark.
    std::size_t at = file.size() >= 3 && file[0] == 0xEF && file[1] == 0xBB && file[2] == 0xBF ? 3 : 0;
    while (at < file.size()) {
        std::size_t end = at;
        while (end < file.size() && file[end] != '\n')
            ++end;
        std::string line(file.begin() + static_cast<std::ptrdiff_t>(at),
                         file.begin() + static_cast<std::ptrdiff_t>(end));
        // A checkout on Windows may have turned the line ends into CR LF.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const int n = static_cast<int>(texts.size());
        const std::string where = "line " + std::to_string(n + 1);
        if (n == rommap::kTextCount)
            return badFile(where + ": the game has " + std::to_string(rommap::kTextCount)
                           + " texts; this line is one more");
        if (!line.starts_with(linePrefix(n)))
            return badFile(where + ": the line must begin with \"" + linePrefix(n) + "\", the text's number");
        texts.push_back(line.substr(linePrefix(n).size()));
        at = end + 1;
    }
    if (texts.size() != static_cast<std::size_t>(rommap::kTextCount))
        return badFile("the file has " + std::to_string(texts.size()) + " lines, not the game's "
                       + std::to_string(rommap::kTextCount) + " texts");
    const TextPackOutcome packed = edits::packTexts(doc, table, texts, endCode);
    if (!packed.ok())
        return badFile(packed.failedText >= 0 ? "line " + std::to_string(packed.failedText + 1) + ": " + packed.reason
                                              : packed.reason);
    return {};
}

}  // namespace

FolderPart textPart(const CharTable& table, EndCode endCode)
{
    return {"texts.txt", [table](const Document& doc) { return describeTexts(doc, table); }, blankTexts,
            [table, endCode](Document& doc, const Bytes& file) { return applyTexts(doc, table, endCode, file); }};
}

}  // namespace velmar::exchange
