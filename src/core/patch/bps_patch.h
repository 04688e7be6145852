#pragma once

#include "base/outcome.h"
#include "patch/patch_result.h"
#include "base/bytes.h"

namespace velmar {

// BPS, version 1: "BPS1"; the sizes of the source and the target image and of the metadata, as
// the format's variable-length numbers; the metadata; then actions up to the last 12 bytes, which
// hold the CRC-32 of the source, of the target and of the patch before them (little-endian).
// Each action is a number whose low two bits say what it does and whose other bits are its
// length minus one:
//   SourceRead  the source's bytes at the same place as the output
//   TargetRead  bytes that follow in the patch
//   SourceCopy  bytes from elsewhere in the source
//   TargetCopy  bytes from earlier in the output (a copy one byte behind repeats that byte)
// The copies move a cursor of their own by a signed distance (bit 0 the sign, the other bits
// its size) and read on from there.

// The patch that makes `edited` from `original`: SourceRead where the two agree at the same
// place, TargetCopy for long runs of one value, TargetRead for the rest. No metadata.
Bytes createBpsPatch(const Bytes& original, const Bytes& edited);

// Applies a BPS patch to `original`. The patch's own checksum is checked first (Malformed: it
// is damaged or cut short), then that `original` is the image it was made for (WrongSource,
// with both checksums), then every action stays within the images and the patch (Malformed), and
// at last the checksum of the result. A patch that would make an image of more than
// kMaxPatchedSize bytes is refused with TooLarge. On failure `out` is left as it was.
Outcome<PatchResult> applyBpsPatch(const Bytes& patch, const Bytes& original, Bytes& out);

}  // namespace velmar
