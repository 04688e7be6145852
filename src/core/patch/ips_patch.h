#pragma once

#include "base/outcome.h"
#include "patch/patch_result.h"
#include "base/bytes.h"

namespace velmar {

// IPS: "PATCH", then records, each a 3-byte file offset and a 2-byte length (big-endian) and that
// many bytes, or a length of 0 and then a 2-byte count and one byte to write that many times;
// then "EOF", optionally followed by the 3-byte size the image is cut to. A record may reach
// past the end of the image, which then grows (the gap between filled with 0).

// Records the bytes of `edited` that differ from `original` (and the size, when it differs) in
// an IPS patch. Long runs of one value become run records, and short unchanged stretches between
// changes are carried in the records around them rather than costing a record header. No record
// starts at 0x454F46, whose offset would read as "EOF". Offsets have 3 bytes: an edit at or
// beyond 16 MB is refused with TooLarge, and `patch` is left as it was.
Outcome<PatchResult> createIpsPatch(const Bytes& original, const Bytes& edited, Bytes& patch);

// Applies an IPS patch to `original`. The whole patch is checked first: Malformed for a missing
// "PATCH" or "EOF", a record cut short, an empty run, anything after "EOF" but a 3-byte size, or
// a size larger than the patched image. On failure `out` is left as it was.
Outcome<PatchResult> applyIpsPatch(const Bytes& patch, const Bytes& original, Bytes& out);

}  // namespace velmar
