// SPDX-License-Identifier: GPL-3.0-or-later
// ostrel-cli on any argument vector: a clean refusal or a result, never a
// crash.
//
// The bytes are split into words at NUL bytes; about half the inputs start
// from a valid command line so that the checks past the parser are reached
// too.  A refusal must be one line beginning "ostrel-cli: " with nothing
// written to the output; a run must end with status 0, some output and
// nothing on the error stream.  Tables, lists of the Moon's quarters and
// calendars longer than a year are only parsed, to keep each input fast.
// `wait` is run without a sleeper, so it writes its target and ends at
// once: the fuzzer never sleeps.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "fuzz_check.h"

namespace ostrel::fuzz {
namespace {

std::vector<std::string> Words(const std::uint8_t *data, std::size_t size) {
  std::vector<std::string> words;
  std::string word;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      words.push_back(word);
      word.clear();
    } else {
      word += static_cast<char>(data[i]);
    }
  }
  if (!word.empty() || size == 0) words.push_back(word);
  return words;
}

std::chrono::system_clock::time_point FixedInstant() {
  using namespace std::chrono;
  return sys_days{year{2026} / 6 / 21} + hours{12};
}

} // namespace
} // namespace ostrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using namespace ostrel;
  using namespace ostrel::fuzz;
  const std::vector<std::string> words = Words(data, size);
  const cli::Parsed parsed = cli::ParseArguments(words);
  if (parsed.outcome == cli::Parsed::Outcome::Refused) {
    Require(parsed.text.rfind("ostrel-cli: ", 0) == 0, "refusal names the program", parsed.text);
    Require(parsed.text.find('\n') == std::string::npos, "refusal is one line", parsed.text);
  }
  if (parsed.outcome == cli::Parsed::Outcome::Run &&
      (parsed.request.command == cli::Command::Table ||
       parsed.request.command == cli::Command::Phases ||
       parsed.request.command == cli::Command::Ics) &&
      cli::DaysOf(parsed.request.to) - cli::DaysOf(parsed.request.from) > std::chrono::days{366}) {
    return 0;
  }
  std::ostringstream out, err;
  const int status = cli::Run(words, out, err, FixedInstant);
  switch (parsed.outcome) {
  case cli::Parsed::Outcome::Refused:
    Require(status == cli::kBadInput, "refusal gives status 2");
    Require(out.str().empty(), "refusal writes no output", out.str());
    Require(err.str() == parsed.text + "\n", "refusal is the parser's line", err.str());
    break;
  case cli::Parsed::Outcome::Run:
    // `next` and `wait` may find nothing within the span: status 3 and one
    // line.
    if (status == cli::kNotFound) {
      Require(parsed.request.command == cli::Command::Next ||
                  parsed.request.command == cli::Command::Wait,
              "only next and wait find nothing", err.str());
      Require(out.str().empty(), "nothing found writes no output", out.str());
      Require(err.str().rfind("ostrel-cli: ", 0) == 0 && err.str().find('\n') + 1 == err.str().size(),
              "nothing found is one line", err.str());
      break;
    }
    Require(status == cli::kDone, "run gives status 0", err.str());
    Require(!out.str().empty() && err.str().empty(), "run writes its result only", err.str());
    break;
  case cli::Parsed::Outcome::Help:
  case cli::Parsed::Outcome::Version:
    Require(status == cli::kDone && !out.str().empty(), "help and version are printed");
    break;
  }
  return 0;
}
