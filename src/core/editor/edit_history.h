#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "rom/area_catalogue.h"
#include "rom/types.h"

namespace velmar {

// What a change touched, so that every window redraws only what it shows.
namespace part {
constexpr unsigned Map = 1u << 0;         // map cells
constexpr unsigned Actors = 1u << 1;      // enemies, items, player start
constexpr unsigned Properties = 1u << 2;  // scene and stage properties, banks, selectors
constexpr unsigned Palette = 1u << 3;     // palette colours
constexpr unsigned Patterns = 1u << 4;    // pattern tile pixels
constexpr unsigned Metatiles = 1u << 5;   // subtiles, metatiles, attributes
constexpr unsigned Sprites = 1u << 6;     // sprite frames and animations
constexpr unsigned Texts = 1u << 7;
constexpr unsigned Layout = 1u << 8;  // map lengths or actor counts: every scene's tables moved
constexpr unsigned All = (1u << 9) - 1;
}  // namespace part
using Parts = unsigned;

// The focus of a step that is about no place on the map (a map pixel column otherwise).
inline constexpr std::int32_t kFocusNone = -1;

// A run of image bytes that an edit changed: what they were before and after it.
struct ByteRun {
    RomOffset offset = 0;
    Bytes before;
    Bytes after;

    bool operator==(const ByteRun&) const = default;
};

// One step of the history: a named edit ("Place Metatile"), the bytes it changed, and where it
// was made, so that undoing it can show that place again.
struct EditStep {
    std::string name;
    Parts parts = 0;
    std::optional<SceneKey> scene;     // the scene that was current; none before any was shown
    std::int32_t focusX = kFocusNone;  // the map pixel column the edit was about, or kFocusNone
    std::vector<ByteRun> runs;         // in the order they were made

    // What the step holds in memory, for the history's limit.
    std::size_t memoryUsed() const;
};

// The runs where `after` differs from `before` (two images of one size). Changed bytes closer
// than a few bytes apart share a run, since a run costs more than the bytes between them.
std::vector<ByteRun> diffImages(const Bytes& before, const Bytes& after);

// Puts the bytes of the runs into the image: their `after` bytes in order (redo), or their
// `before` bytes in reverse order (undo), so that runs of successive changes that overlap
// still come back right.
void applyRuns(Bytes& image, const std::vector<ByteRun>& runs, bool forward);

// The net change of runs made one after another, given the image as it is after all of them:
// one run per touched area, without the bytes that came back to what they were. Empty when the
// changes cancel out.
std::vector<ByteRun> netRuns(const std::vector<ByteRun>& runs, const Bytes& image);

// The steps that can be undone and redone. Steps before the cursor are done; those after it were
// undone and can be redone until a new step drops them. The steps together never hold more than
// the memory limit: the oldest go first (the newest always stays).
class EditHistory {
public:
    static constexpr std::size_t kDefaultMemoryLimit = 64u << 20;

    explicit EditHistory(std::size_t memoryLimit = kDefaultMemoryLimit) : limit_(memoryLimit) { }

    void clear();
    // Adds a step after the cursor, dropping the undone steps and then, over the limit, the oldest.
    void push(EditStep step);

    bool canUndo() const { return cursor_ > 0; }
    bool canRedo() const { return cursor_ < steps_.size(); }
    const EditStep* nextUndo() const { return canUndo() ? &steps_[cursor_ - 1] : nullptr; }
    const EditStep* nextRedo() const { return canRedo() ? &steps_[cursor_] : nullptr; }
    // Move the cursor over one step and return it; the caller puts its bytes into the image.
    const EditStep& stepBack();
    const EditStep& stepForward();

    std::size_t size() const { return steps_.size(); }
    std::size_t doneCount() const { return cursor_; }
    std::size_t memoryUsed() const { return used_; }

private:
    void trim();

    std::deque<EditStep> steps_;
    std::size_t cursor_ = 0;
    std::size_t used_ = 0;
    std::size_t limit_;
};

}  // namespace velmar
