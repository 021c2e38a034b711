// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzz targets' one way to report a broken property: print what broke
// and abort, so that libFuzzer keeps the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace ostrel::fuzz {

[[noreturn]] inline void Broken(const char *property, std::string_view detail) {
  std::fprintf(stderr, "broken: %s [%.*s]\n", property, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

inline void Require(bool holds, const char *property, std::string_view detail = {}) {
  if (!holds)
    Broken(property, detail);
}

} // namespace ostrel::fuzz
