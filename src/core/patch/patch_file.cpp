#include "patch_file.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "patch/bps_patch.h"
#include "patch/ips_patch.h"

namespace velmar {

namespace {

bool startsWith(const Bytes& bytes, std::string_view magic)
{
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

}  // namespace

std::optional<PatchFormat> patchFormatForPath(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".ips")
        return PatchFormat::Ips;
    if (extension == ".bps")
        return PatchFormat::Bps;
    return std::nullopt;
}

std::optional<PatchFormat> patchFormatOf(const Bytes& patch)
{
    if (startsWith(patch, "PATCH"))
        return PatchFormat::Ips;
    if (startsWith(patch, "BPS1"))
        return PatchFormat::Bps;
    return std::nullopt;
}

Outcome<PatchResult> createPatch(PatchFormat format, const Bytes& original, const Bytes& edited, Bytes& patch)
{
    if (format == PatchFormat::Ips)
        return createIpsPatch(original, edited, patch);
    patch = createBpsPatch(original, edited);
    return {};
}

Outcome<PatchResult> applyPatch(const Bytes& patch, const Bytes& original, Bytes& out)
{
    const std::optional<PatchFormat> format = patchFormatOf(patch);
    if (!format)
        return Outcome<PatchResult>::failure(PatchResult::Malformed,
                                             "This is not a patch: an IPS patch begins with \"PATCH\", a BPS patch "
                                             "with \"BPS1\".");
    return *format == PatchFormat::Ips ? applyIpsPatch(patch, original, out) : applyBpsPatch(patch, original, out);
}

}  // namespace velmar
