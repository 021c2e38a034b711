// SPDX-License-Identifier: GPL-3.0-or-later
// ostrel-cli: the Sun's position and day from a terminal or a script.
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/wait.h"

namespace {

// Standard output through write(2), so that a failed write is seen with
// its reason (a closed pipe, a full disk) instead of ending the program
// silently or being lost in a stream's state.
class OutputBuffer : public std::streambuf {
public:
  explicit OutputBuffer(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }
  ~OutputBuffer() override { Drain(); }
  int error() const { return error_; }

protected:
  int_type overflow(int_type c) override {
    if (Drain() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return Drain(); }

private:
  int Drain() {
    const char *p = pbase();
    while (p < pptr() && error_ == 0) {
      const ssize_t written = ::write(fd_, p, static_cast<std::size_t>(pptr() - p));
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        error_ = written < 0 ? errno : EIO;
        break;
      }
      p += written;
    }
    setp(buffer_, buffer_ + sizeof buffer_);
    return error_ == 0 ? 0 : -1;
  }

  int fd_;
  int error_ = 0;
  char buffer_[1 << 16];
};

} // namespace

int main(int argc, char **argv) {
  // A closed pipe is an error to report, not a signal that ends the program.
  std::signal(SIGPIPE, SIG_IGN);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  OutputBuffer buffer(STDOUT_FILENO);
  std::ostream out(&buffer);
  int status = ostrel::cli::Run(
      arguments, out, std::cerr, [] { return std::chrono::system_clock::now(); },
      [](std::chrono::system_clock::time_point target, const std::function<bool()> &announce,
         std::ostream &err) { return ostrel::cli::SleepUntil(target, announce, err); });
  if (status == ostrel::cli::kNotWritten || !out.flush() || buffer.error() != 0) {
    std::cerr << "ostrel-cli: the output could not be written: "
              << std::strerror(buffer.error() != 0 ? buffer.error() : EIO) << '\n';
    status = ostrel::cli::kNotWritten;
  }
  return status;
}
