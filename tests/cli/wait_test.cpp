// SPDX-License-Identifier: GPL-3.0-or-later
// `wait`: the moment it chooses (on a clock the test sets, without
// sleeping), its sleep against the real-time clock, and the program itself
// ending at a moment a few seconds ahead or ended by SIGINT and SIGTERM.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <spawn.h>
#include <sys/timerfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/commands.h"
#include "cli/wait.h"

extern char **environ;

namespace ostrel::cli {
namespace {

using std::chrono::system_clock;
using namespace std::chrono_literals;

// An instant given as UTC.
system_clock::time_point Utc(int y, unsigned m, unsigned d, int hour, int minute) {
  using namespace std::chrono;
  return sys_days{year{y} / month{m} / day{d}} + hours{hour} + minutes{minute};
}

struct Result {
  int status;
  std::string out, err;
};

Result RunAt(const std::vector<std::string> &words, system_clock::time_point now,
             const Sleeper &sleep = {}) {
  std::ostringstream out, err;
  const int status = cli::Run(words, out, err, [now] { return now; }, sleep);
  return {status, out.str(), err.str()};
}

// `next`'s first moment for the same words without the window, after the
// same clock's moment.
std::string NextOf(const std::vector<std::string> &words, system_clock::time_point now) {
  std::vector<std::string> next = {"next"};
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (words[i] == "--not-before" || words[i] == "--not-after")
      ++i;
    else
      next.push_back(words[i]);
  }
  const Result result = RunAt(next, now);
  EXPECT_EQ(result.status, kDone) << result.err;
  return result.out;
}

const std::vector<std::string> kSite = {"--lat", "47", "--lon", "28.85", "--tz", "3"};

std::vector<std::string> With(std::vector<std::string> words, const std::vector<std::string> &more) {
  words.insert(words.end(), more.begin(), more.end());
  return words;
}

// The moment `wait` prints.  An edge of the window is a round local time a
// reader checks at a glance; a moment the window leaves alone is `next`'s.
// At 47 N 28.85 E (+3) on 2026-06-22 sunrise is about 05:10 and sunset
// about 21:03.
TEST(CliWait, TheMomentIsNextsKeptInTheWindow) {
  const auto night = Utc(2026, 6, 21, 22, 30);  // 2026-06-22 01:30 at +3
  const auto evening = Utc(2026, 6, 22, 17, 30); // 20:30 at +3
  const struct {
    const char *what;
    system_clock::time_point now;
    std::vector<std::string> words;
    const char *expected; // the whole line, or only its date where it is next's moment
  } cases[] = {
      {"no window", night, With({"wait", "sunset"}, kSite), "2026-06-22"},
      {"inside the window", night,
       With({"wait", "sunset", "--not-before", "18:00", "--not-after", "22:00"}, kSite),
       "2026-06-22"},
      {"later than the window", night, With({"wait", "sunset", "--not-after", "20:00"}, kSite),
       "2026-06-22T20:00:00+03:00"},
      {"earlier than the window", night, With({"wait", "sunrise", "--not-before", "7:00"}, kSite),
       "2026-06-22T07:00:00+03:00"},
      {"kept back to a moment already past: the next date's", evening,
       With({"wait", "sunset", "--not-after", "20:00"}, kSite), "2026-06-23T20:00:00+03:00"},
      {"an offset into the past: the next date's", evening,
       With({"wait", "sunset", "--offset", "-60"}, kSite), "2026-06-23"},
      // Six hours before the 23rd's sunrise is the 22nd's 23:10, kept
      // within that date's window.
      {"an offset across midnight", night,
       With({"wait", "sunrise", "--offset", "-360", "--not-after", "22:00"}, kSite),
       "2026-06-22T22:00:00+03:00"},
      {"an offset across midnight, forward", night,
       With({"wait", "sunset", "--offset", "+240"}, kSite), "2026-06-23"},
      // Berlin's clocks went forward on 2026-03-29: 20:00 of the 28th is
      // at +01:00, the next sunset (19:35) at +02:00.
      {"the zone's offset of the target's date", Utc(2026, 3, 28, 19, 0),
       {"wait", "sunset", "--place", "Berlin", "--not-after", "19:00"},
       "2026-03-29T19:00:00+02:00"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const Result result = RunAt(c.words, c.now);
    EXPECT_EQ(result.status, kDone) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string expected(c.expected);
    if (expected.size() == 10) {
      EXPECT_EQ(result.out, NextOf(c.words, c.now));
      EXPECT_EQ(result.out.substr(0, 10), expected);
    } else {
      EXPECT_EQ(result.out, expected + "\n");
    }
  }
}

// Bad input (status 2) and an event that never comes (status 3): one line
// on stderr naming what is wrong, nothing on stdout.
TEST(CliWait, RefusalsAndAnEventThatNeverComes) {
  const struct {
    std::vector<std::string> words;
    int status;
    const char *named;
  } cases[] = {
      {With({"wait", "sunset", "--not-before", "20:00", "--not-after", "19:59"}, kSite), kBadInput,
       "--not-before 20:00"},
      {With({"wait", "sunset", "--not-before", "24:00"}, kSite), kBadInput, "24:00"},
      {With({"wait", "sunset", "--not-after", "07:60"}, kSite), kBadInput, "07:60"},
      {With({"wait", "sunset", "--not-after", "7:5"}, kSite), kBadInput, "7:5"},
      {With({"wait", "sunset", "--not-after", "0730"}, kSite), kBadInput, "0730"},
      {With({"wait", "sunset", "--not-before", ""}, kSite), kBadInput, "empty"},
      {With({"wait", "sunset", "--offset", "-1441"}, kSite), kBadInput, "-1441"},
      {With({"wait", "sunset", "--count", "2"}, kSite), kBadInput, "--count"},
      {With({"wait", "sunsets"}, kSite), kBadInput, "sunsets"},
      {{"wait", "--place", "Berlin"}, kBadInput, "EVENT is missing"},
      {{"wait", "altitude:80:rising", "--lat", "60", "--lon", "0", "--tz", "0"}, kNotFound,
       "year and a day"},
  };
  bool slept = false;
  const Sleeper sleeper = [&slept](system_clock::time_point, const std::function<bool()> &,
                                   std::ostream &) {
    slept = true;
    return kDone;
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.named);
    const Result result = RunAt(c.words, Utc(2026, 6, 21, 22, 30), sleeper);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
  }
  EXPECT_FALSE(slept);
}

// The sleeper is handed the instant of the printed line, the line is
// written only through its announcement, and its status is the run's.
TEST(CliWait, TheSleeperSleepsUntilThePrintedMoment) {
  std::optional<system_clock::time_point> asked;
  std::string before;
  std::ostringstream out, err;
  const int status = cli::Run(
      With({"wait", "sunset", "--not-after", "20:00"}, kSite), out, err,
      [] { return Utc(2026, 6, 21, 22, 30); },
      [&](system_clock::time_point target, const std::function<bool()> &announce, std::ostream &) {
        before = out.str();
        asked = target;
        return announce() ? kTerminated : kNotWritten;
      });
  EXPECT_EQ(status, kTerminated);
  EXPECT_EQ(before, "");
  EXPECT_EQ(out.str(), "2026-06-22T20:00:00+03:00\n");
  ASSERT_TRUE(asked);
  EXPECT_EQ(*asked, Utc(2026, 6, 22, 17, 0));
}

system_clock::time_point InstantOf(const timespec &t) {
  return system_clock::time_point{std::chrono::duration_cast<system_clock::duration>(
      std::chrono::seconds{t.tv_sec} + std::chrono::nanoseconds{t.tv_nsec})};
}

// The sleep itself, by the real-time clock, to a target 1.5 s ahead.  The
// clock's being set is played as the kernel shows it: the timer wakes early
// (here 0.2 s after each arming) and its read fails with ECANCELED; the wait
// must arm it again for the same target and end there, not at the wake.
TEST(CliWait, SleepEndsAtTheTargetAfterTheClockIsSet) {
  for (int cancellations : {0, 2}) {
    SCOPED_TRACE(cancellations);
    std::vector<system_clock::time_point> armed;
    int reads = 0, announced = 0;
    TimerCalls calls = SystemTimerCalls();
    calls.settime = [&](int fd, int flags, const itimerspec &value) {
      armed.push_back(InstantOf(value.it_value));
      itimerspec early = value;
      if (int(armed.size()) <= cancellations) {
        const auto wake = std::chrono::duration_cast<std::chrono::nanoseconds>(
            (system_clock::now() + 200ms).time_since_epoch());
        early.it_value = {static_cast<time_t>(wake.count() / 1000000000),
                          static_cast<long>(wake.count() % 1000000000)};
      }
      return ::timerfd_settime(fd, flags, &early, nullptr);
    };
    calls.read = [&](int fd, void *buffer, std::size_t size) -> ssize_t {
      if (reads++ < cancellations) {
        errno = ECANCELED;
        return -1;
      }
      return ::read(fd, buffer, size);
    };
    std::ostringstream err;
    const auto target = system_clock::now() + 1500ms;
    const int status = SleepUntil(target, [&] { return ++announced > 0; }, err, calls);
    EXPECT_EQ(status, kDone) << err.str();
    EXPECT_GE(system_clock::now(), target);
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(reads, cancellations + 1);
    ASSERT_EQ(armed.size(), std::size_t(cancellations + 1));
    for (const auto &at : armed) EXPECT_EQ(at, target);
  }
}

// An announcement that cannot be written ends the wait at once, far from
// its target.
TEST(CliWait, UnwrittenTargetDoesNotSleep) {
  std::ostringstream err;
  EXPECT_EQ(SleepUntil(system_clock::now() + 24h, [] { return false; }, err), kNotWritten);
}

// The clock really set (to its own present value, a change of microseconds)
// while the wait sleeps.  It needs root, and it writes this machine's
// clock: it runs only when OSTREL_TEST_SET_CLOCK=1 asks for it.
TEST(CliWait, RealClockChangeArmsTheTimerAgain) {
  const char *asked = std::getenv("OSTREL_TEST_SET_CLOCK");
  if (asked == nullptr || std::string(asked) != "1")
    GTEST_SKIP() << "sets the system clock; OSTREL_TEST_SET_CLOCK=1 runs it";
  int cancelled = 0;
  TimerCalls calls = SystemTimerCalls();
  calls.read = [&cancelled](int fd, void *buffer, std::size_t size) {
    const ssize_t got = ::read(fd, buffer, size);
    if (got < 0 && errno == ECANCELED) ++cancelled;
    return got;
  };
  int setError = 0;
  std::thread setter([&setError] {
    std::this_thread::sleep_for(500ms);
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    if (::clock_settime(CLOCK_REALTIME, &now) != 0) setError = errno;
  });
  std::ostringstream err;
  const auto target = system_clock::now() + 2s;
  const int status = SleepUntil(target, [] { return true; }, err, calls);
  setter.join();
  if (setError != 0) GTEST_SKIP() << "the clock cannot be set here: " << std::strerror(setError);
  EXPECT_EQ(status, kDone) << err.str();
  EXPECT_GE(system_clock::now(), target);
  EXPECT_EQ(cancelled, 1);
}

// ---- The program itself ---------------------------------------------------

// ostrel-cli started with its standard output on a pipe, SIGINT and SIGTERM
// at their default (whatever the test runner left them).
class Program {
public:
  explicit Program(const std::vector<std::string> &words) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::vector<std::string> argv = {OSTREL_CLI_PATH};
    argv.insert(argv.end(), words.begin(), words.end());
    std::vector<char *> pointers;
    for (std::string &word : argv) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    if (posix_spawn(&pid_, OSTREL_CLI_PATH, &actions, &attributes, pointers.data(), environ) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(ends[1]);
    output_ = ends[0];
  }
  Program(const Program &) = delete;
  Program &operator=(const Program &) = delete;
  ~Program() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) ::close(output_);
  }

  bool started() const { return pid_ > 0; }
  void signal(int number) const { ::kill(pid_, number); }

  // The first line of its output, without the line end.
  std::string line() const {
    std::string text;
    char c;
    while (::read(output_, &c, 1) == 1 && c != '\n') text += c;
    return text;
  }

  // Its wait status, or none when it has not ended within `limit`.
  std::optional<int> end(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return status;
      }
      std::this_thread::sleep_for(10ms);
    }
    return std::nullopt;
  }

private:
  pid_t pid_ = -1;
  int output_ = -1;
};

// The instant of "YYYY-MM-DDTHH:MM:SS+HH:MM".
system_clock::time_point InstantOf(const std::string &iso) {
  using namespace std::chrono;
  if (iso.size() != 25) return {};
  const int sign = iso[19] == '-' ? -1 : 1;
  return Utc(std::stoi(iso.substr(0, 4)), unsigned(std::stoi(iso.substr(5, 2))),
             unsigned(std::stoi(iso.substr(8, 2))), std::stoi(iso.substr(11, 2)),
             std::stoi(iso.substr(14, 2))) +
         seconds{std::stoi(iso.substr(17, 2))} -
         sign * (hours{std::stoi(iso.substr(20, 2))} + minutes{std::stoi(iso.substr(23, 2))});
}

// The Sun's azimuth a few seconds ahead: at 89 N the Sun's azimuth turns
// with its hour angle, 15 degrees an hour (0.004 a second) in every season,
// so 0.03 degree past its azimuth now (from `now`) is some 7 s away.  The
// program prints that moment and ends there, status 0.
TEST(CliWaitProgram, EndsAtAMomentAFewSecondsAhead) {
  const std::vector<std::string> site = {"--lat", "89", "--lon", "0", "--tz", "0"};
  std::ostringstream out, err;
  ASSERT_EQ(cli::Run(With({"now", "--format", "json"}, site), out, err, system_clock::now), kDone);
  const double azimuth =
      nlohmann::json::parse(out.str())["values"]["azimuth_deg"].get<double>() + 0.03;
  const auto started = system_clock::now();
  Program program(With({"wait", "azimuth:" + std::to_string(azimuth >= 360 ? azimuth - 360 : azimuth)},
                       site));
  ASSERT_TRUE(program.started());
  const std::string line = program.line();
  const auto target = InstantOf(line);
  EXPECT_GT(target, started) << line;
  EXPECT_LT(target, started + 30s) << line;
  const std::optional<int> status = program.end(
      std::chrono::duration_cast<std::chrono::milliseconds>(target - system_clock::now()) + 5s);
  const auto ended = system_clock::now();
  ASSERT_TRUE(status) << "still waiting after " << line;
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == kDone) << *status;
  EXPECT_GE(ended, target);
  EXPECT_LT(ended, target + 3s);
}

// SIGTERM and SIGINT while the program waits for a moment far away: it
// ends at once with 143 or 130 (not killed by the signal).
TEST(CliWaitProgram, SignalsEndTheWaitWithTheirStatus) {
  const struct {
    int signal;
    int status;
  } cases[] = {{SIGTERM, kTerminated}, {SIGINT, kInterrupted}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.signal);
    // The Earth's perihelion comes early in January: months away, but for
    // a few days a year.
    Program program(With({"wait", "perihelion"}, kSite));
    ASSERT_TRUE(program.started());
    const std::string line = program.line();
    EXPECT_GT(InstantOf(line), system_clock::now() + 1min) << line;
    program.signal(c.signal);
    const std::optional<int> status = program.end(5s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), c.status);
  }
}

} // namespace
} // namespace ostrel::cli
