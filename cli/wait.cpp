// SPDX-License-Identifier: GPL-3.0-or-later
// `wait`'s sleep on a timerfd of CLOCK_REALTIME and a signalfd, both
// watched by one poll(2): no signal handler, and no moment at which a
// signal can come between a check and the sleep.
#include "cli/wait.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <optional>

#include "cli/commands.h"

namespace ostrel::cli {
namespace {

// A file descriptor closed when it goes out of scope.
class Descriptor {
public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor &) = delete;
  Descriptor &operator=(const Descriptor &) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

private:
  int fd_;
};

// The signal mask as it was, put back when the wait ends.
class MaskRestorer {
public:
  explicit MaskRestorer(const sigset_t &previous) : previous_(previous) {}
  MaskRestorer(const MaskRestorer &) = delete;
  MaskRestorer &operator=(const MaskRestorer &) = delete;
  ~MaskRestorer() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }

private:
  sigset_t previous_;
};

bool Ignored(int signal) {
  struct sigaction action {};
  return ::sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN;
}

int StatusOf(std::uint32_t signal) { return signal == SIGINT ? kInterrupted : kTerminated; }

int Failed(std::ostream &err, const char *what, int error) {
  err << "ostrel-cli: the wait could not " << what << ": " << std::strerror(error) << '\n';
  return kWaitFailed;
}

// Arms the timer for `target`, absolute on CLOCK_REALTIME and cancelled
// when the clock is set.
bool Arm(const TimerCalls &calls, int timer, std::chrono::system_clock::time_point target) {
  using namespace std::chrono;
  const auto since = target.time_since_epoch();
  const auto whole = floor<seconds>(since);
  itimerspec timing{};
  timing.it_value.tv_sec = static_cast<time_t>(whole.count());
  timing.it_value.tv_nsec = static_cast<long>(duration_cast<nanoseconds>(since - whole).count());
  // An it_value of zero would disarm the timer: the first instant of 1970
  // is long past, so one nanosecond later is the same moment.
  if (timing.it_value.tv_sec <= 0 && timing.it_value.tv_nsec == 0) timing.it_value.tv_nsec = 1;
  return calls.settime(timer, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, timing) == 0;
}

// The status of a watched signal waiting in `signals`, or none.
std::optional<int> PendingSignal(int signals) {
  signalfd_siginfo info{};
  ssize_t got;
  do {
    got = ::read(signals, &info, sizeof info);
  } while (got < 0 && errno == EINTR);
  if (got != static_cast<ssize_t>(sizeof info)) return std::nullopt;
  return StatusOf(info.ssi_signo);
}

} // namespace

TimerCalls SystemTimerCalls() {
  return {[](int fd, int flags, const itimerspec &value) {
            return ::timerfd_settime(fd, flags, &value, nullptr);
          },
          [](int fd, void *buffer, std::size_t size) { return ::read(fd, buffer, size); }};
}

int SleepUntil(std::chrono::system_clock::time_point target, const std::function<bool()> &announce,
               std::ostream &err, const TimerCalls &calls) {
  sigset_t watched;
  sigemptyset(&watched);
  for (int signal : {SIGINT, SIGTERM})
    if (!Ignored(signal)) sigaddset(&watched, signal);
  sigset_t previous;
  if (::sigprocmask(SIG_BLOCK, &watched, &previous) != 0)
    return Failed(err, "block SIGINT and SIGTERM", errno);
  const MaskRestorer restorer(previous);
  const Descriptor signals(::signalfd(-1, &watched, SFD_NONBLOCK | SFD_CLOEXEC));
  if (signals.get() < 0) return Failed(err, "watch SIGINT and SIGTERM", errno);
  const Descriptor timer(::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC));
  if (timer.get() < 0) return Failed(err, "create its timer", errno);
  if (!Arm(calls, timer.get(), target)) return Failed(err, "set its timer", errno);
  if (!announce()) return kNotWritten;

  for (;;) {
    pollfd watch[2] = {{signals.get(), POLLIN, 0}, {timer.get(), POLLIN, 0}};
    if (::poll(watch, 2, -1) < 0) {
      if (errno == EINTR) continue; // stopped and continued (SIGSTOP, SIGCONT)
      return Failed(err, "wait", errno);
    }
    // A signal first: it may have come with the target.
    if (watch[0].revents != 0) {
      if (const std::optional<int> status = PendingSignal(signals.get())) return *status;
    }
    if (watch[1].revents == 0) continue;
    std::uint64_t expirations = 0;
    const ssize_t got = calls.read(timer.get(), &expirations, sizeof expirations);
    if (got == static_cast<ssize_t>(sizeof expirations)) break;
    if (got < 0 && errno == ECANCELED) {
      // The clock was set: the same target by the new clock.
      if (!Arm(calls, timer.get(), target)) return Failed(err, "set its timer again", errno);
      continue;
    }
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    return Failed(err, "read its timer", got < 0 ? errno : EIO);
  }
  // A signal that came at the target itself is not lost when the mask is
  // put back: it ends the wait as any other.
  return PendingSignal(signals.get()).value_or(kDone);
}

int SleepUntil(std::chrono::system_clock::time_point target, const std::function<bool()> &announce,
               std::ostream &err) {
  return SleepUntil(target, announce, err, SystemTimerCalls());
}

} // namespace ostrel::cli
