// SPDX-License-Identifier: GPL-3.0-or-later
// A stream buffer that only counts what is written to it, so that a
// benchmark of a command times the forming of its output and not the disk.
#pragma once

#include <cstddef>
#include <streambuf>

namespace ostrel::bench {

class CountingBuffer : public std::streambuf {
public:
  std::size_t bytes = 0;

protected:
  std::streamsize xsputn(const char *, std::streamsize count) override {
    bytes += static_cast<std::size_t>(count);
    return count;
  }
  int_type overflow(int_type c) override {
    ++bytes;
    return traits_type::not_eof(c);
  }
};

} // namespace ostrel::bench
