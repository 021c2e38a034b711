// SPDX-License-Identifier: GPL-3.0-or-later
// `wait`'s sleep: until a moment of the wall clock, against the system's
// real-time clock (Linux: timerfd and signalfd).
#pragma once

#include <sys/types.h>
#include <time.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <ostream>

namespace ostrel::cli {

// The timer's two system calls, timerfd_settime (absolute, cancelled when
// the clock is set) and read.  A test replaces them to play what the kernel
// does when the clock is set, an early wake whose read fails with
// ECANCELED, without setting this machine's clock.
struct TimerCalls {
  std::function<int(int fd, int flags, const itimerspec &value)> settime;
  std::function<ssize_t(int fd, void *buffer, std::size_t size)> read;
};

// The system's own.
TimerCalls SystemTimerCalls();

// Sleeps until `target` by the real-time clock, as commands.h's Sleeper
// (the three-argument SleepUntil fits it, with the system's calls).
//
// The timer is absolute on CLOCK_REALTIME and cancelled when the clock is
// set (TFD_TIMER_CANCEL_ON_SET): after a change of the system's clock it is
// armed again for the same target, so the wait ends at the target's moment
// by the new clock (at once when that is already past); across a suspend it
// ends at the target's moment, or at the resume when the target passed
// while the machine slept.  SIGINT and SIGTERM are blocked before
// `announce` and read through a signalfd, so that one coming at any moment
// after the target's line ends the wait with kInterrupted or kTerminated
// (a signal that was ignored when the wait began, as SIGINT is for a
// shell's background job, stays ignored).  The signal mask is restored on
// return.
int SleepUntil(std::chrono::system_clock::time_point target, const std::function<bool()> &announce,
               std::ostream &err, const TimerCalls &calls);
int SleepUntil(std::chrono::system_clock::time_point target, const std::function<bool()> &announce,
               std::ostream &err);

} // namespace ostrel::cli
