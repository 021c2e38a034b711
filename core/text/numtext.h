// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers as the program writes and reads them.
//
// NumText writes a double with at most 15 significant digits and a float with
// at most 7, always in plain decimal notation: no exponent, no trailing zeros
// after the separator, no trailing separator, "0" before the separator below
// 1, "-" for a negative value (a negative zero is written 0), no grouping.
// Result labels pass the user's decimal separator; input fields and the
// settings file use "." so that ParseNumber reads the text back.
//
// ParseNumber reads the leading number of a field's text: blanks, tabs and
// line feeds are ignored wherever they stand; then an optional sign, digits
// with at most one '.', and an optional exponent (E or D in either case, an
// optional sign, digits) are read as far as they fit.  No number at the start
// gives 0; "50,5" gives 50.  A magnitude beyond the double range gives +-inf,
// so that the caller can refuse it; one below it gives 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel {

std::string NumText(double value, std::string_view decimalSeparator = ".");
std::string NumText(float value, std::string_view decimalSeparator = ".");
// Integers must be converted by the caller on purpose: a whole number written
// as a double and as a float can differ in its digits.
template <typename T>
std::string NumText(T, std::string_view = ".") = delete;

double ParseNumber(std::string_view text);

// The double rounded to single precision, with overflow defined: a magnitude
// that single precision cannot hold becomes +-inf instead of undefined
// behaviour.
float RoundToSingle(double value);

// Rounds to the nearest whole number, halves to the even one, into a 16-bit
// integer field.  NaN gives 0 and out-of-range values saturate; neither
// occurs for inputs in the accepted ranges.
std::int16_t RoundHalfEven(double value);

// Reading a field: parse its text, keep the value in the field's precision
// and write back the number-to-text form of the kept value (with ".").
// A value its precision cannot hold is not holdable: the caller refuses it.
// Its text is then the double's text if the double is finite, else the typed
// text unchanged, so that "inf" never appears in a field.
template <typename T>
struct FieldReading {
  T value = 0;
  std::string text;
  bool holdable = true;
};
FieldReading<double> ReadDoubleField(std::string_view text);
FieldReading<float> ReadSingleField(std::string_view text);

} // namespace ostrel
