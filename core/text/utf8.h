// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 read one code point at a time, as RFC 3629 defines it: a code point
// is written in the fewest bytes that hold it (an overlong form is not
// UTF-8), and the surrogates U+D800 to U+DFFF and values past U+10FFFF are
// not code points.  The town list, the command line's query and anything
// else that reads UTF-8 by itself read it here.
#pragma once

#include <cstddef>
#include <string_view>

namespace ostrel {

// A code point and the bytes it takes; `length` 0 where the bytes are not
// UTF-8 (a stray continuation byte, a sequence cut short, an overlong form,
// a surrogate or a value past U+10FFFF).
struct Utf8CodePoint {
  char32_t codePoint = 0;
  std::size_t length = 0;
};

// The code point that starts at byte `at` of `text` (at < text.size()).
Utf8CodePoint DecodeUtf8(std::string_view text, std::size_t at);

// Whether all of `text` is UTF-8.
bool IsUtf8(std::string_view text);

// Calls visit(codePoint, bytes) for each code point of `text` in order,
// `bytes` its own bytes in `text`; bytes that are not UTF-8 are passed over
// one at a time.
template <typename Visit>
void ForEachCodePoint(std::string_view text, Visit visit) {
  for (std::size_t at = 0; at < text.size();) {
    const Utf8CodePoint decoded = DecodeUtf8(text, at);
    if (decoded.length == 0) {
      ++at;
      continue;
    }
    visit(decoded.codePoint, text.substr(at, decoded.length));
    at += decoded.length;
  }
}

} // namespace ostrel
