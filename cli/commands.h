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
// `next`: the event does not happen within the span searched.
inline constexpr int kNotFound = 3;

// Runs the command line `arguments` (without the program's name): the
// result goes to `out`, a refusal as one line to `err` with nothing on
// `out`.  `clock` gives the current instant where no moment or date is
// given.  `next` gives kNotFound, with its one line on `err` and nothing on
// `out`, when the event does not come within the span.  When `out` fails
// the run stops there and gives kNotWritten; the caller, which knows why
// its output failed, says so.
int Run(std::span<const std::string> arguments, std::ostream &out, std::ostream &err,
        const Clock &clock);

} // namespace ostrel::cli
