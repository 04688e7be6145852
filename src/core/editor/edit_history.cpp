#include "editor/edit_history.h"

#include <algorithm>
#include <cstring>

namespace velmar {

namespace {

// A run costs its bookkeeping besides its bytes; unchanged bytes between two changes this close
// are cheaper to keep inside one run.
constexpr std::size_t kJoinGap = 8;
// Equal stretches are skipped a block at a time.
constexpr std::size_t kBlock = 64;

// Appends the runs where after[0..n) differs from before[0..n); `base` is the image offset of
// both ranges.
void diffRange(const std::uint8_t* before, const std::uint8_t* after, std::size_t n, std::size_t base,
               std::vector<ByteRun>& runs)
{
    bool open = false;
    std::size_t start = 0;
    std::size_t end = 0;
    auto close = [&] {
        runs.push_back({static_cast<RomOffset>(base + start), Bytes(before + start, before + end),
                        Bytes(after + start, after + end)});
    };
    std::size_t i = 0;
    while (i < n) {
        const std::size_t blockEnd = std::min(n, i + kBlock);
        if (std::memcmp(before + i, after + i, blockEnd - i) == 0) {
            i = blockEnd;
            continue;
        }
        for (; i < blockEnd; ++i) {
            if (before[i] == after[i])
                continue;
            if (open && i - end <= kJoinGap) {
                end = i + 1;
                continue;
            }
            if (open)
                close();
            open = true;
            start = i;
            end = i + 1;
        }
    }
    if (open)
        close();
}

}  // namespace

std::size_t EditStep::memoryUsed() const
{
    std::size_t used = sizeof(EditStep) + name.capacity();
    for (const ByteRun& run : runs)
        used += sizeof(ByteRun) + run.before.capacity() + run.after.capacity();
    return used;
}

std::vector<ByteRun> diffImages(const Bytes& before, const Bytes& after)
{
    std::vector<ByteRun> runs;
    diffRange(before.data(), after.data(), std::min(before.size(), after.size()), 0, runs);
    return runs;
}

void applyRuns(Bytes& image, const std::vector<ByteRun>& runs, bool forward)
{
    auto put = [&image](const ByteRun& run, const Bytes& bytes) {
        const auto at = static_cast<std::size_t>(run.offset);
        if (at <= image.size() && bytes.size() <= image.size() - at)
            std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
    };
    if (forward) {
        for (const ByteRun& run : runs)
            put(run, run.after);
    } else {
        for (auto it = runs.rbegin(); it != runs.rend(); ++it)
            put(*it, it->before);
    }
}

std::vector<ByteRun> netRuns(const std::vector<ByteRun>& runs, const Bytes& image)
{
    // The areas the runs touched, each the union of the runs that overlap or adjoin it.
    std::vector<std::pair<std::size_t, std::size_t>> areas;
    for (const ByteRun& run : runs) {
        const auto at = static_cast<std::size_t>(run.offset);
        if (at <= image.size() && run.after.size() <= image.size() - at)
            areas.emplace_back(at, at + run.after.size());
    }
    std::sort(areas.begin(), areas.end());
    std::vector<std::pair<std::size_t, std::size_t>> merged;
    for (const auto& area : areas) {
        if (!merged.empty() && area.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, area.second);
        else
            merged.push_back(area);
    }

    std::vector<ByteRun> out;
    for (const auto& [first, last] : merged) {
        // The area as it was before the first run: the image now, with every run's old bytes put
        // back from the newest to the oldest.
        const auto now = image.begin() + static_cast<std::ptrdiff_t>(first);
        Bytes old(now, now + static_cast<std::ptrdiff_t>(last - first));
        for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
            const auto at = static_cast<std::size_t>(it->offset);
            if (at >= first && at + it->before.size() <= last)
                std::copy(it->before.begin(), it->before.end(), old.begin() + static_cast<std::ptrdiff_t>(at - first));
        }
        diffRange(old.data(), image.data() + first, last - first, first, out);
    }
    return out;
}

void EditHistory::clear()
{
    steps_.clear();
    cursor_ = 0;
    used_ = 0;
}

void EditHistory::push(EditStep step)
{
    while (steps_.size() > cursor_) {
        used_ -= steps_.back().memoryUsed();
        steps_.pop_back();
    }
    used_ += step.memoryUsed();
    steps_.push_back(std::move(step));
    cursor_ = steps_.size();
    trim();
}

const EditStep& EditHistory::stepBack() { return steps_[--cursor_]; }

const EditStep& EditHistory::stepForward() { return steps_[cursor_++]; }

void EditHistory::trim()
{
    // Done steps go from the oldest end; when every step is undone, the furthest redo goes
    // instead, so that what is left can still be redone in order.
    while (used_ > limit_ && steps_.size() > 1) {
        if (cursor_ > 0) {
            used_ -= steps_.front().memoryUsed();
            steps_.pop_front();
            --cursor_;
        } else {
            used_ -= steps_.back().memoryUsed();
            steps_.pop_back();
        }
    }
}

}  // namespace velmar
