// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/numtext.h"

#include <charconv>
#include <cfloat>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace ostrel {
namespace {

// The significant digits of a scientific text "-d.ddde+XX" from to_chars,
// without trailing zeros, and the decimal exponent of the first of them.
struct Digits {
  bool negative = false;
  char digits[24] = {};
  std::size_t count = 0;
  int exponent = 0;
};

Digits FromScientific(std::string_view scientific) {
  Digits d;
  d.negative = scientific.front() == '-';
  const std::size_t ePos = scientific.find('e');
  for (char c : scientific.substr(d.negative ? 1 : 0, ePos - (d.negative ? 1 : 0))) {
    if (c != '.') d.digits[d.count++] = c;
  }
  while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
  std::string_view exponentText = scientific.substr(ePos + 1);
  if (exponentText.front() == '+') exponentText.remove_prefix(1);
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), d.exponent);
  return d;
}

// The digits in plain decimal notation.  The longest result, a double near
// 1e-308 written with 15 digits, is about 330 characters plus the
// separator.
std::string PlainText(const Digits &d, std::string_view separator) {
  std::string text;
  text.reserve(d.count + separator.size() + (d.exponent < 0 ? -d.exponent : d.exponent) + 2);
  if (d.negative) text.push_back('-');
  const long pointAfter = d.exponent + 1; // digits before the separator
  if (pointAfter <= 0) {
    text.push_back('0');
    text.append(separator);
    text.append(static_cast<std::size_t>(-pointAfter), '0');
    text.append(d.digits, d.count);
  } else if (static_cast<std::size_t>(pointAfter) >= d.count) {
    text.append(d.digits, d.count);
    text.append(static_cast<std::size_t>(pointAfter) - d.count, '0');
  } else {
    text.append(d.digits, static_cast<std::size_t>(pointAfter));
    text.append(separator);
    text.append(d.digits + pointAfter, d.count - static_cast<std::size_t>(pointAfter));
  }
  return text;
}

// Rounds the shortest digits of a normal double to `significant` (at most
// 15) digits, giving the double itself rounded to them.
//
// The shortest text is, among the shortest decimals that read back as the
// double, the one nearest to it; it lies within half a unit of the double's
// last place, a span narrower than the gap between two rounding boundaries
// of 15 digits, so at most one boundary falls in it.  A boundary has one
// digit more than `significant`, the last a 5.  If one falls in the span,
// the shortest text is at most that long: it is the boundary itself, and
// only the exact value can tell the side (false: the caller rounds
// exactly), or it is no farther from the double than the boundary, and so
// on the double's side of it.  If none does, the two lie on the same side
// of every boundary.
bool RoundShortest(Digits &d, std::size_t significant) {
  if (d.count <= significant) return true;
  if (d.count == significant + 1 && d.digits[significant] == '5') return false;
  const bool up = d.digits[significant] >= '5';
  d.count = significant;
  if (up) {
    while (d.count > 0 && d.digits[d.count - 1] == '9') --d.count;
    if (d.count == 0) { // 99..9 carries into a new first digit
      d.digits[0] = '1';
      d.count = 1;
      ++d.exponent;
    } else {
      ++d.digits[d.count - 1];
    }
  }
  while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
  return true;
}

// `value` rounded to `significant` digits by to_chars, which rounds the
// exact binary value correctly.
Digits ExactlyRounded(double value, int significant) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::scientific, significant - 1).ptr;
  return FromScientific(std::string_view(buffer, end - buffer));
}

// A normal double rounded to `significant` digits, in plain notation: from
// its shortest text where that gives the rounding, else exactly.  The
// shortest text needs much smaller tables and code than exact rounding, a
// cost that a tick of real-time tracking, with its caches gone cold since
// the last second, pays in memory reads.
std::string RoundedText(double value, int significant, std::string_view separator) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::scientific).ptr;
  Digits d = FromScientific(std::string_view(buffer, end - buffer));
  if (!RoundShortest(d, static_cast<std::size_t>(significant)))
    d = ExactlyRounded(value, significant);
  return PlainText(d, separator);
}

std::string NonFinite(double value) {
  return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
}

// A whole number whose digits all fit the precision needs no rounding.
template <typename T>
bool WriteWhole(T value, T limit, std::string &text) {
  if (value != std::trunc(value) || std::fabs(value) >= limit) return false;
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer,
                                 static_cast<long long>(value)).ptr;
  text.assign(buffer, end);
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string NumText(double value, std::string_view decimalSeparator) {
  if (value == 0) return "0"; // negative zero too
  if (!std::isfinite(value)) return NonFinite(value);
  std::string text;
  if (WriteWhole(value, 1e15, text)) return text;
  // The few doubles just below the largest one round up to 15 digits past
  // the double range, a text that would read back as infinity: they take
  // the largest 15-digit text within the range instead.
  if (std::fabs(value) > 1.79769313486231e308) {
    return PlainText(ExactlyRounded(std::copysign(1.79769313486231e308, value), 15),
                     decimalSeparator);
  }
  // Subnormal numbers have too few bits for RoundShortest.
  if (std::fabs(value) < DBL_MIN)
    return PlainText(ExactlyRounded(value, 15), decimalSeparator);
  return RoundedText(value, 15, decimalSeparator);
}

std::string NumText(float value, std::string_view decimalSeparator) {
  if (value == 0) return "0";
  if (!std::isfinite(value)) return NonFinite(value);
  std::string text;
  if (WriteWhole(value, 1e7f, text)) return text;
  // A float's last place can be coarser than the 7-digit grid (near 2^33),
  // so its own shortest text is not always the rounded one.  Its exact
  // value as a double, a normal one, is rounded instead.
  return RoundedText(value, 7, decimalSeparator);
}

double ParseNumber(std::string_view text) {
  std::string packed;
  packed.reserve(text.size());
  std::copy_if(text.begin(), text.end(), std::back_inserter(packed),
               [](char c) { return !IsBlank(c); });
  // The longest prefix of the form [sign] digits [. digits] [E|D [sign] digits],
  // rewritten for from_chars (no '+', 'e' for the exponent letter).
  std::string number;
  std::size_t i = 0;
  bool negative = false;
  if (i < packed.size() && (packed[i] == '+' || packed[i] == '-')) {
    negative = packed[i] == '-';
    ++i;
  }
  std::string mantissa;
  bool anyDigit = false, point = false;
  for (; i < packed.size(); ++i) {
    const char c = packed[i];
    if (IsDigit(c)) {
      mantissa.push_back(c);
      anyDigit = true;
    } else if (c == '.' && !point) {
      mantissa.push_back(c);
      point = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return 0;
  std::string exponent;
  if (i < packed.size() && (packed[i] == 'E' || packed[i] == 'e' ||
                            packed[i] == 'D' || packed[i] == 'd')) {
    std::size_t j = i + 1;
    std::string candidate = "e";
    if (j < packed.size() && (packed[j] == '+' || packed[j] == '-')) {
      if (packed[j] == '-') candidate.push_back('-');
      ++j;
    }
    const std::size_t firstDigit = j;
    while (j < packed.size() && IsDigit(packed[j])) candidate.push_back(packed[j++]);
    if (j > firstDigit) exponent = candidate;
  }
  number = mantissa + exponent;
  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(),
                                      value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Overflow or underflow: the decimal magnitude of the number (the
    // exponent plus the place of the first significant digit) tells which.
    long long magnitude = 0;
    const std::size_t pointPos = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t firstNonZero = mantissa.find_first_of("123456789");
    magnitude = firstNonZero < pointPos
                    ? static_cast<long long>(pointPos - firstNonZero)
                    : -static_cast<long long>(firstNonZero - pointPos - 1);
    long long power = 0;
    for (std::size_t k = exponent.size() > 1 && exponent[1] == '-' ? 2 : 1;
         k < exponent.size(); ++k) {
      power = std::min(power * 10 + (exponent[k] - '0'), 1'000'000'000LL);
    }
    if (exponent.size() > 1 && exponent[1] == '-') power = -power;
    value = magnitude + power > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

float RoundToSingle(double value) {
  // Beyond FLT_MAX plus half its last unit the nearest single is infinity;
  // between the two it is FLT_MAX.
  constexpr double kOverflow = 0x1.ffffffp127;
  if (std::fabs(value) >= kOverflow) {
    return value < 0 ? -std::numeric_limits<float>::infinity()
                     : std::numeric_limits<float>::infinity();
  }
  if (std::fabs(value) > FLT_MAX) return value < 0 ? -FLT_MAX : FLT_MAX;
  return static_cast<float>(value);
}

std::int16_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  const double rounded = std::nearbyint(value); // the default mode: halves to even
  if (rounded >= std::numeric_limits<std::int16_t>::max())
    return std::numeric_limits<std::int16_t>::max();
  if (rounded <= std::numeric_limits<std::int16_t>::min())
    return std::numeric_limits<std::int16_t>::min();
  return static_cast<std::int16_t>(rounded);
}

FieldReading<double> ReadDoubleField(std::string_view text) {
  FieldReading<double> reading;
  reading.value = ParseNumber(text);
  reading.holdable = std::isfinite(reading.value);
  reading.text = reading.holdable ? NumText(reading.value) : std::string(text);
  return reading;
}

FieldReading<float> ReadSingleField(std::string_view text) {
  const double parsed = ParseNumber(text);
  FieldReading<float> reading;
  reading.value = RoundToSingle(parsed);
  reading.holdable = std::isfinite(reading.value);
  if (reading.holdable) {
    reading.text = NumText(reading.value);
  } else {
    reading.text = std::isfinite(parsed) ? NumText(parsed) : std::string(text);
  }
  return reading;
}

} // namespace ostrel
