// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes typed into an input field, read as a double field (degrees,
// date and time) and as a single field (minutes, time zone).
//
// What a reading must give, whatever was typed:
// - a holdable value is written back in plain decimal notation (no
//   exponent, no inf or nan) with at most the precision's 15 or 7
//   significant digits;
// - the written text reads back holdable, as the kept value to within half
//   a unit of the last written digit, so the field shows what is kept;
// - it is a fixed point (read again, it writes back the same text) wherever
//   the written digits can name every value of the precision; elsewhere it
//   settles after the second reading;
// - a value its precision cannot hold leaves the typed text as it was, or
//   (single fields) shows the finite double in plain notation, never a text
//   the program made up with inf or nan in it.
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/text/numtext.h"
#include "fuzz_check.h"

namespace ostrel::fuzz {
namespace {

// "-"? digits ("." digits)? with no "-0", no leading zero before a digit and
// no trailing zero after the point; returns the count of significant
// digits, or -1 when the text has another form.
int SignificantDigits(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative)
    text.remove_prefix(1);
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  if (whole.empty() || (whole.size() > 1 && whole.front() == '0'))
    return -1;
  std::string digits(whole);
  if (point != std::string_view::npos) {
    const std::string_view fraction = text.substr(point + 1);
    if (fraction.empty() || fraction.back() == '0')
      return -1;
    digits += fraction;
  }
  for (const char c : digits)
    if (c < '0' || c > '9')
      return -1;
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos)
    return !negative && text == "0" ? 1 : -1; // zero, negative zero too, is "0"
  const std::size_t last = digits.find_last_not_of('0');
  return static_cast<int>(last - first + 1);
}

// True where the grid of the precision is coarser than the grid of the
// written digits: the step to the next value exceeds one unit of the last
// written digit.  Only there can a written text read back as a value
// whose text differs (floats just below a power of ten such as 1e10 or
// 0.001, subnormal doubles).
template <typename T>
bool CoarserThanDigits(T value, int digits) {
  const T magnitude = std::fabs(value);
  if (magnitude == 0)
    return false;
  const double step = double(std::nextafter(magnitude, std::numeric_limits<T>::infinity())) -
                      double(magnitude);
  const double digitUnit = std::pow(10.0, std::floor(std::log10(double(magnitude))) - (digits - 1));
  return step > digitUnit;
}

// One field of precision T read from `typed`: ReadDoubleField or
// ReadSingleField, with the 15 or 7 digits it writes.
template <typename T>
void CheckField(std::string_view typed, FieldReading<T> (*read)(std::string_view), int digits,
                double relativeTolerance, const char *precision) {
  const auto broken = [precision](const char *property) {
    return std::string(precision) + ": " + property;
  };
  const FieldReading<T> reading = read(typed);
  const double parsed = ParseNumber(typed);
  const T kept = static_cast<T>(std::is_same_v<T, float> ? RoundToSingle(parsed) : parsed);
  Require(reading.holdable == std::isfinite(kept),
          broken("refused exactly when the precision cannot hold the number").c_str());
  if (!reading.holdable) {
    // A finite double beyond single precision is shown as the double.
    if (std::isfinite(parsed))
      Require(SignificantDigits(reading.text) >= 1 && SignificantDigits(reading.text) <= 15,
              broken("a refused finite number shows in plain text").c_str(), reading.text);
    else
      Require(reading.text == typed, broken("a refused field keeps the typed text").c_str());
    return;
  }
  Require(reading.value == kept, broken("the field keeps the parsed number").c_str(),
          reading.text);
  const int count = SignificantDigits(reading.text);
  Require(count >= 1 && count <= digits,
          broken("the write-back is plain text within the precision's digits").c_str(),
          reading.text);

  const FieldReading<T> again = read(reading.text);
  Require(again.holdable, broken("the write-back reads back holdable").c_str(), reading.text);
  // Half a unit of the last written digit, plus the rounding of the text.
  const double tolerance = relativeTolerance * std::fabs(double(reading.value)) +
                           double(std::numeric_limits<T>::denorm_min());
  Require(std::fabs(double(again.value) - double(reading.value)) <= tolerance,
          broken("the write-back holds the kept value").c_str(), reading.text);
  if (again.text == reading.text)
    return;
  Require(CoarserThanDigits(again.value, digits),
          broken("the write-back is a fixed point where the digits can name every value")
              .c_str(),
          reading.text + " -> " + again.text);
  const FieldReading<T> third = read(again.text);
  Require(third.text == again.text, broken("the write-back settles after two readings").c_str(),
          again.text + " -> " + third.text);
}

} // namespace
} // namespace ostrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view typed(reinterpret_cast<const char *>(data), size);
  using namespace ostrel;
  // Half a unit of the 15th digit plus a double's rounding; of the 7th
  // digit plus a float's.
  fuzz::CheckField<double>(typed, &ReadDoubleField, 15, 5.2e-15, "double field");
  fuzz::CheckField<float>(typed, &ReadSingleField, 7, 5.7e-7, "single field");
  return 0;
}
