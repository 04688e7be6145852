// libFuzzer target: the data files read at start-up and written back, each read from a file
// that holds the input: the settings (VELMAR.INI), a name list (ITEM.DAT, ENEMY.DAT) and the
// character table (TBL.DAT); and the recovery copy of unsaved edits, read from its bytes. The
// file readers take paths only, so the input goes through a file in a folder of this process's
// own.
//
// Promise checked: what is read and written back reads the same again (and the form written is
// stable: writing what was read back a second time gives the same bytes).

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "files/name_list.h"
#include "files/recovery.h"
#include "files/settings.h"
#include "fuzz_support.h"
#include "text/char_table.h"

namespace {

using namespace velmar;
namespace fs = std::filesystem;

// A folder for this process, removed at exit: in memory where the system has such a place (a
// truncated file on disk is flushed on every close, which would cost most of the run).
const fs::path& scratchFolder()
{
    static const fs::path folder = [] {
        std::error_code ec;
        fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path(ec);
        if (ec)
            base = "/tmp";
        fs::path p = base / ("velmar-fuzz-data-files-" + std::to_string(::getpid()));
        fs::create_directories(p, ec);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(scratchFolder(), ignored);
        });
        return p;
    }();
    return folder;
}

void writeBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        fuzz::broken("cannot write the scratch file");
}

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void settingsRoundTrip(const fs::path& file)
{
    // A file that reads in part keeps what it could read, and that is written back whole.
    Settings first;
    if (const SettingsLoad code = loadSettings(file, "/program", first).code;
        code != SettingsLoad::Ok && code != SettingsLoad::Partial)
        return;
    for (int i = 0; i < 5; ++i)
        (void)recentFileCaption(i, first.recentFiles[static_cast<std::size_t>(i)]);
    const fs::path again = scratchFolder() / "again.ini";
    if (!saveSettings(again, first).ok())
        fuzz::broken("saveSettings failed in the scratch folder");
    Settings second;
    if (!loadSettings(again, "/program", second).ok() || !(second == first))
        fuzz::broken("settings written back read differently");
    const std::string written = readBytes(again);
    if (!saveSettings(again, second).ok() || readBytes(again) != written)
        fuzz::broken("settings written twice differ");
}

void nameListRoundTrip(const fs::path& file)
{
    const std::optional<std::vector<std::string>> first = loadNameList(file);
    if (!first)
        return;
    const std::string written = formatNameList(*first);
    const fs::path again = scratchFolder() / "again.dat";
    writeBytes(again, written);
    const std::optional<std::vector<std::string>> second = loadNameList(again);
    if (!second || *second != *first)
        fuzz::broken("a name list written back reads differently");
    if (formatNameList(*second) != written)
        fuzz::broken("a name list written twice differs");
}

void charTableRoundTrip(const fs::path& file)
{
    CharTable first;
    (void)loadCharTable(file, first);
    const std::string written = formatCharTable(first);
    const fs::path again = scratchFolder() / "again.tbl";
    writeBytes(again, written);
    CharTable second;
    if (!loadCharTable(again, second).empty() || second != first)
        fuzz::broken("a character table written back reads differently");
    if (formatCharTable(second) != written)
        fuzz::broken("a character table written twice differs");
}

// A recovery copy that reads is written back byte for byte; anything else is refused whole.
void recoveryRoundTrip(const std::string& input)
{
    const Bytes bytes(input.begin(), input.end());
    RecoveryCopy copy;
    if (!parseRecoveryCopy(bytes, copy).ok())
        return;
    if (recoveryFileBytes(copy) != bytes)
        fuzz::broken("a recovery copy written back differs from the one read");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const auto kind = in.ConsumeIntegral<std::uint8_t>() % 4;
    if (kind == 3) {
        recoveryRoundTrip(in.ConsumeRemainingBytesAsString());
        return 0;
    }
    const fs::path file = scratchFolder() / "input";
    writeBytes(file, in.ConsumeRemainingBytesAsString());
    switch (kind) {
    case 0: settingsRoundTrip(file); break;
    case 1: nameListRoundTrip(file); break;
    default: charTableRoundTrip(file); break;
    }
    return 0;
}
