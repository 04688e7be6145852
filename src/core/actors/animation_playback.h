#pragma once

#include <cstdint>
#include <optional>

#include "rom/types.h"

namespace velmar {

// Plays an animation (timer, frame pairs) at a steady number of ticks per second, against a
// monotonic millisecond clock that the caller reads: tick k falls due at start + k * 1000 / rate
// (rounded up to the millisecond),
// so ticks that come late are caught up and the animation keeps its real speed.
//
// At every tick the countdown goes down by one; when it is already 0 the next step begins: its
// frame is shown and its timer becomes the countdown. A step with timer t therefore stays for
// t + 1 ticks, and after the last step the first comes again. The steps are read afresh at every
// tick, so an edit (or another frame table) made while playing shows at the next step.
class AnimationPlayback {
public:
    explicit AnimationPlayback(int ticksPerSecond = 60) : rate_(ticksPerSecond) { }

    bool playing() const { return playing_; }

    // Starts from the first step, tick 0 falling due at `nowMs`. Refused (false) while playing.
    bool start(std::int64_t nowMs);
    void stop() { playing_ = false; }

    // Runs every tick due by `nowMs`. Returns the frame number of the last step that began in
    // them, or nullopt when the frame shown stays. Nothing while stopped or without steps. A
    // clock that was stopped for longer than a few seconds (a suspended machine) is not caught
    // up beyond that: the playback goes on from now.
    std::optional<std::uint8_t> advance(std::int64_t nowMs, const Bytes& steps);

    // Milliseconds from `nowMs` until the next tick falls due (0 when one is due already).
    std::int64_t untilNextTick(std::int64_t nowMs) const;

    // The step shown (the last one begun), -1 before the first tick.
    int currentStep() const { return shownStep_; }

private:
    std::int64_t dueAt(std::int64_t tick) const { return startMs_ + (tick * 1000 + rate_ - 1) / rate_; }

    int rate_;
    bool playing_ = false;
    std::int64_t startMs_ = 0;
    std::int64_t ticksDone_ = 0;
    std::size_t position_ = 0;  // byte index of the next step's timer
    int countdown_ = 0;
    int shownStep_ = -1;
};

}  // namespace velmar
