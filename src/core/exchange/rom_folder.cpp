#include "exchange/rom_folder.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "base/file_reader.h"
#include "base/file_writer.h"
#include "base/hex.h"
#include "exchange/json_text.h"
#include "exchange/scene_file.h"
#include "rom/address_map.h"

namespace velmar::exchange {

namespace {

std::string tooLarge(const std::string& name)
{
    return "The file is larger than any file of its kind (" + std::to_string(folderFileLimit(name)) + " bytes).";
}

FolderOutcome failure(FolderResult code, std::string reason) { return FolderOutcome::failure(code, std::move(reason)); }

bool openDocument(Document& doc, const RomImage& image, std::string& reason)
{
    const Outcome<RomReadResult> r = doc.openImage(image, {});
    reason = r.reason;
    return r.ok();
}

// The first offset of the file where two images differ, as "$0001F", or empty.
std::string firstDifference(const RomImage& a, const RomImage& b)
{
    const Bytes x = a.fileBytes(), y = b.fileBytes();
    if (x == y)
        return {};
    const auto at = std::mismatch(x.begin(), x.end(), y.begin(), y.end()).first - x.begin();
    return "$" + hexPad(static_cast<std::int32_t>(at), 5);
}

// Whether part `index` gives the image back by itself: blanked, then applied from its file (with
// parts of their own, as a part may remember what an import has applied so far).
bool roundTrips(const RomImage& image, const CharTable& table, std::size_t index, const Bytes& file)
{
    const FolderPart part = folderParts(table)[index];
    Document doc;
    std::string reason;
    return openDocument(doc, image, reason) && part.blank(doc) && part.apply(doc, file).ok() && doc.rom() == image;
}

Bytes manifestOf(const std::vector<std::string>& files)
{
    Json manifest = {
        {"format", kFolderFormat}, {"version", kFolderVersion}, {"remainder", kRemainderFile}, {"files", files}};
    return formatJson(manifest);
}

// The files the manifest lists, each a part's; or why the manifest is wrong.
FolderOutcome readManifestValue(const Json& manifest, const std::vector<FolderPart>& parts,
                                std::set<std::string>& files)
{
    const auto wrong = [](const std::string& what) {
        return failure(FolderResult::BadFile, std::string(kManifestFile) + ": " + what);
    };
    JsonFields f;
    const Json& format = f.member(manifest, "", "format");
    const Json& version = f.member(manifest, "", "version");
    const Json& remainder = f.member(manifest, "", "remainder");
    const Json& list = f.array(f.member(manifest, "", "files"), "files");
    if (!f.ok())
        return wrong(f.fault());
    if (format != kFolderFormat)
        return wrong("format: this is not a folder of this program's (\"" + std::string(kFolderFormat) + "\")");
    if (!version.is_number_integer() || version.get<std::int64_t>() != kFolderVersion)
        return wrong("version: the folder is of version " + quoteValue(version) + "; this program reads version "
                     + std::to_string(kFolderVersion));
    if (remainder != kRemainderFile)
        return wrong("remainder: must be \"" + std::string(kRemainderFile) + "\"");
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = "files[" + std::to_string(i) + "]";
        const Json& name = list[i];
        const bool known = name.is_string() && std::any_of(parts.begin(), parts.end(), [&](const FolderPart& p) {
                               return p.file == name.get<std::string>();
                           });
        if (!known)
            return wrong(where + ": " + quoteValue(name) + " is no file a folder holds");
        if (!files.insert(name.get<std::string>()).second)
            return wrong(where + ": " + quoteValue(name) + " is listed twice");
    }
    return {};
}

FolderOutcome readManifest(const Bytes& bytes, const std::vector<FolderPart>& parts, std::set<std::string>& files)
{
    const auto wrong = [](const std::string& what) {
        return failure(FolderResult::BadFile, std::string(kManifestFile) + ": " + what);
    };
    FolderOutcome result;
    if (const std::string fault =
            readJson(bytes, [&](const Json& manifest) { result = readManifestValue(manifest, parts, files); });
        !fault.empty())
        return wrong(fault);
    return result;
}

}  // namespace

std::vector<FolderPart> folderParts(const CharTable& table, EndCode endCode)
{
    // Scenes first: a scene of another length or actor count moves every scene's tables.
    std::vector<FolderPart> parts = sceneParts();
    for (FolderPart part : {textPart(table, endCode), palettePart(), framePart(), animationPart()})
        parts.push_back(std::move(part));
    for (int bank = 0; bank < rommap::kPatternBankCount; ++bank)
        parts.push_back(bankPart(bank));
    return parts;
}

FolderOutcome exportFolder(const RomImage& image, const CharTable& table, FolderFiles& out)
{
    Document original;
    std::string reason;
    if (!openDocument(original, image, reason))
        return failure(FolderResult::NotExact, reason);

    // A part describes its things only when they come back exactly from its file alone.
    FolderFiles files;
    std::vector<std::string> listed;
    Document remainder;
    if (!openDocument(remainder, image, reason))
        return failure(FolderResult::NotExact, reason);
    const std::vector<FolderPart> parts = folderParts(table);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const FolderPart& part = parts[i];
        const std::optional<Bytes> file = part.describe(original);
        if (!file || !roundTrips(image, table, i, *file))
            continue;
        if (!part.blank(remainder))
            return failure(FolderResult::NotExact, part.file + ": its things cannot be taken out of the image");
        files[part.file] = *file;
        listed.push_back(part.file);
    }
    files[kRemainderFile] = remainder.rom().fileBytes();
    files[kManifestFile] = manifestOf(listed);

    // The folder as a whole: parts may share bytes in ways none of them shows alone.
    RomImage back;
    const FolderReader read = [&](const std::string& name, std::string&) -> std::optional<Bytes> {
        return files.at(name);
    };
    if (const FolderOutcome r = importFolder(read, table, back); !r.ok())
        return failure(FolderResult::NotExact, "The folder would not give the image back: " + r.reason);
    if (const std::string at = firstDifference(back, image); !at.empty())
        return failure(FolderResult::NotExact,
                       "The folder would not give the image back: the byte at file offset " + at + " would differ.");
    out = std::move(files);
    return {};
}

FolderOutcome importFolder(const FolderReader& readAny, const CharTable& table, RomImage& out, EndCode endCode)
{
    const FolderReader read = [&readAny](const std::string& name, std::string& reason) -> std::optional<Bytes> {
        std::optional<Bytes> file = readAny(name, reason);
        if (file && file->size() > folderFileLimit(name)) {
            reason = tooLarge(name);
            return std::nullopt;
        }
        return file;
    };
    const std::vector<FolderPart> parts = folderParts(table, endCode);
    std::string reason;
    const std::optional<Bytes> manifest = read(kManifestFile, reason);
    if (!manifest)
        return failure(FolderResult::Unreadable, std::string(kManifestFile) + ": " + reason);
    std::set<std::string> listed;
    if (FolderOutcome r = readManifest(*manifest, parts, listed); !r.ok())
        return r;

    const std::optional<Bytes> remainderFile = read(kRemainderFile, reason);
    if (!remainderFile)
        return failure(FolderResult::Unreadable, std::string(kRemainderFile) + ": " + reason);
    RomImage remainder;
    Outcome<RomReadResult> parsed = parseRomFile(*remainderFile, remainder);
    if (parsed.ok())
        parsed = checkGameImage(remainder);
    Document doc;
    if (!parsed.ok() || !openDocument(doc, remainder, reason))
        return failure(FolderResult::BadFile,
                       std::string(kRemainderFile) + ": "
                           + (parsed.ok() ? reason : romReadMessage(parsed.code) + " " + parsed.reason));

    for (const FolderPart& part : parts) {
        if (!listed.contains(part.file))
            continue;
        const std::optional<Bytes> file = read(part.file, reason);
        if (!file)
            return failure(FolderResult::Unreadable, part.file + ": " + reason);
        if (const FolderOutcome r = part.apply(doc, *file); !r.ok())
            return failure(r.code, part.file + ": " + r.reason);
    }
    out = doc.rom();
    return {};
}

std::uintmax_t folderFileLimit(const std::string& name)
{
    return name == kRemainderFile ? kMaxRomFileBytes : kMaxSceneFileBytes;
}

FolderReader diskFolder(const std::filesystem::path& dir)
{
    return [dir](const std::string& name, std::string& reason) -> std::optional<Bytes> {
        Bytes bytes;
        reason = readFileBelow(dir, name, bytes, folderFileLimit(name), tooLarge(name));
        return reason.empty() ? std::optional(std::move(bytes)) : std::nullopt;
    };
}

FolderOutcome writeFolder(const std::filesystem::path& dir, const FolderFiles& files)
{
    std::set<std::string> refused;
    for (const auto& [name, bytes] : files) {
        if (const std::optional<PathObstacle> o = obstacleBelow(dir, name))
            refused.insert(o->name + ": " + o->why);
    }
    if (!refused.empty()) {
        std::string reason = "Nothing was written. The folder holds things the export would have to follow or "
                             "replace at names it writes:";
        for (const std::string& line : refused)
            reason += "\n" + line;
        return failure(FolderResult::Unreadable, reason + "\nRemove them, or export into another folder.");
    }
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        return failure(FolderResult::Unreadable, pathToUtf8(dir) + ": " + error.message());
    for (const auto& [name, bytes] : files) {
        if (const Outcome<WriteResult> r = writeProgramFileBelow(dir, name, bytes); !r.ok())
            return failure(FolderResult::Unreadable, name + ": " + r.reason);
    }
    return {};
}

}  // namespace velmar::exchange
