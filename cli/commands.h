// SPDX-License-Identifier: GPL-3.0-or-later
// ostrel-cli's commands: a parsed request in, text, JSON or CSV out.
#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <span>
#include <string>

namespace ostrel::cli {

using Clock = std::function<std::chrono::system_clock::time_point()>;

// Exit statuses.
inline constexpr int kDone = 0;
inline constexpr int kNotWritten = 1;
inline constexpr int kBadInput = 2;
// `next`, `wait`: the event does not happen within the span searched.
inline constexpr int kNotFound = 3;
// `wait`: the system refused its timer (one line on the error stream says
// why).
inline constexpr int kWaitFailed = 4;
// `wait` ended by SIGINT and by SIGTERM: 128 and the signal's number, as a
// shell reports a program the signal ended.
inline constexpr int kInterrupted = 130;
inline constexpr int kTerminated = 143;

// `wait`'s sleep until `target`: it readies itself (so that from then on
// SIGINT and SIGTERM end it with their statuses), calls `announce`, which
// writes the target's line and flushes it, and sleeps until the target.
// kDone at the target; kNotWritten at once when `announce` gives false;
// kInterrupted or kTerminated when a signal ends it; kWaitFailed, with its
// line on `err`, when the system refuses the timer.
using Sleeper = std::function<int(std::chrono::system_clock::time_point target,
                                  const std::function<bool()> &announce, std::ostream &err)>;

// Runs the command line `arguments` (without the program's name): the
// result goes to `out`, a refusal as one line to `err` with nothing on
// `out`.  `clock` gives the current instant where no moment or date is
// given.  `next` gives kNotFound, with its one line on `err` and nothing on
// `out`, when the event does not come within the span.  When `out` fails
// the run stops there and gives kNotWritten; the caller, which knows why
// its output failed, says so.  `wait` hands its target to `sleep` and gives
// what it gives; without a sleeper it writes the target and ends at once,
// so that tests and the fuzz target never sleep.
int Run(std::span<const std::string> arguments, std::ostream &out, std::ostream &err,
        const Clock &clock, const Sleeper &sleep = {});

} // namespace ostrel::cli
