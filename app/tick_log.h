// SPDX-License-Identifier: GPL-3.0-or-later
// The timing log of the tick benchmark (bench/tick): when the environment
// variable OSTREL_TICK_LOG names a file, every tick of a window's timer is
// timed, with the painting that follows it, and so is the first painting of
// the window.  Without the variable nothing is installed and nothing costs.
#pragma once

class QWidget;

namespace ostrel {

// Call once the window is shown, before the event loop runs.  `timerName`
// is the objectName of the window's timer whose ticks are timed.  The file gets one line per record:
//
//   first-paint <end>
//   tick <start> <handler> <painted>
//
// <end> and <start> are CLOCK_MONOTONIC readings (steady_clock) in
// nanoseconds, so that a launcher can set them against its own reading of
// the same clock; <handler> is the duration of the tick's timeout handling
// and <painted> the time from the tick's start to the end of the first
// painting of the window after it (the backing store drawn and flushed),
// both in nanoseconds, <painted> -1 when nothing was painted before the
// next tick.
void InstallTickLog(QWidget &window, const char *timerName);

} // namespace ostrel
