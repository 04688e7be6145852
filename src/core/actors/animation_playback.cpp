#include "actors/animation_playback.h"

namespace velmar {

namespace {

// The longest lag caught up, in seconds.
constexpr std::int64_t kMaxCatchUpSeconds = 5;

}  // namespace

bool AnimationPlayback::start(std::int64_t nowMs)
{
    if (playing_)
        return false;
    playing_ = true;
    startMs_ = nowMs;
    ticksDone_ = 0;
    position_ = 0;
    countdown_ = 0;
    shownStep_ = -1;
    return true;
}

std::optional<std::uint8_t> AnimationPlayback::advance(std::int64_t nowMs, const Bytes& steps)
{
    if (!playing_ || steps.size() < 2)
        return std::nullopt;
    // Ticks 0 .. due - 1 have fallen due.
    const auto dueBy = [&](std::int64_t now) { return now < startMs_ ? 0 : (now - startMs_) * rate_ / 1000 + 1; };
    std::int64_t due = dueBy(nowMs);
    const std::int64_t most = kMaxCatchUpSeconds * rate_;
    if (due - ticksDone_ > most) {
        // Go on from now as if the ticks missed beyond that had not been there.
        startMs_ += (due - ticksDone_ - most) * 1000 / rate_;
        due = dueBy(nowMs);
    }
    std::optional<std::uint8_t> shown;
    for (; ticksDone_ < due; ++ticksDone_) {
        if (countdown_ > 0) {
            --countdown_;
            continue;
        }
        if (position_ + 1 >= steps.size())
            position_ = 0;
        countdown_ = steps[position_];
        shown = steps[position_ + 1];
        shownStep_ = static_cast<int>(position_ / 2);
        position_ += 2;
        if (position_ + 1 >= steps.size())
            position_ = 0;
    }
    return shown;
}

std::int64_t AnimationPlayback::untilNextTick(std::int64_t nowMs) const
{
    const std::int64_t next = dueAt(ticksDone_);
    return next > nowMs ? next - nowMs : 0;
}

}  // namespace velmar
