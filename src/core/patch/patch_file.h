#pragma once

#include <filesystem>
#include <optional>

#include "base/outcome.h"
#include "patch/patch_result.h"
#include "base/bytes.h"

namespace velmar {

enum class PatchFormat { Ips, Bps };

// The format a patch file is written in, from its extension (".ips" or ".bps", any case);
// nullopt for any other.
std::optional<PatchFormat> patchFormatForPath(const std::filesystem::path& path);

// The format of a patch's bytes, from their magic ("PATCH" or "BPS1"); nullopt for neither.
std::optional<PatchFormat> patchFormatOf(const Bytes& patch);

// The patch of `format` that makes `edited` from `original`. Only IPS can fail (TooLarge: an
// edit at or beyond 16 MB); `patch` is then left as it was.
Outcome<PatchResult> createPatch(PatchFormat format, const Bytes& original, const Bytes& edited, Bytes& patch);

// Applies an IPS or BPS patch, told apart by its magic, to `original`. On failure `out` is left
// as it was and the reason says why.
Outcome<PatchResult> applyPatch(const Bytes& patch, const Bytes& original, Bytes& out);

}  // namespace velmar
