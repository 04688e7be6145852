// The system's volumes for the drive retry: drive letters on Windows, mount points elsewhere.
#include "rom/rom_file.h"

#include <fstream>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmar {

namespace fs = std::filesystem;

#ifdef _WIN32

std::vector<Volume> systemVolumes()
{
    std::vector<Volume> out;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i)))
            continue;
        const std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
        ULARGE_INTEGER ignored;
        const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
        const bool ready = GetDiskFreeSpaceExA(root.c_str(), &ignored, nullptr, nullptr) != 0;
        SetErrorMode(oldMode);
        out.push_back({root, ready});
    }
    return out;
}

#else

namespace {

// Mount table escapes spaces and tabs as octal (\040).
std::string unescapeMountField(const std::string& field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string octal = field.substr(i + 1, 3);
            if (octal.size() == 3 && octal.find_first_not_of("01234567") == std::string::npos) {
                out.push_back(static_cast<char>(std::stoi(octal, nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

bool isPseudoFileSystem(const std::string& type)
{
    static const char* const kPseudo[] = {"proc",     "sysfs",      "devtmpfs",   "devpts",  "tmpfs",    "cgroup",
                                          "cgroup2",  "securityfs", "pstore",     "bpf",     "debugfs",  "tracefs",
                                          "mqueue",   "hugetlbfs",  "configfs",   "fusectl", "autofs",   "binfmt_misc",
                                          "efivarfs", "ramfs",      "rpc_pipefs", "nsfs",    "selinuxfs"};
    for (const char* p : kPseudo) {
        if (type == p)
            return true;
    }
    return false;
}

}  // namespace

std::vector<Volume> systemVolumes()
{
    std::vector<Volume> out;
    std::error_code ec;
#ifdef __APPLE__
    for (const auto& entry : fs::directory_iterator("/Volumes", ec))
        out.push_back({pathToUtf8(entry.path()), fs::is_directory(entry.path(), ec)});
#else
    std::ifstream mounts("/proc/self/mounts");
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type) || isPseudoFileSystem(type))
            continue;
        const std::string root = unescapeMountField(mountPoint);
        out.push_back({root, fs::is_directory(pathFromUtf8(root), ec)});
    }
#endif
    return out;
}

#endif

}  // namespace velmar
