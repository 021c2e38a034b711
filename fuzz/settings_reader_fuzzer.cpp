// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes, of any length, as the settings file.
//
// The reader must not crash or read out of bounds, whatever the file holds.
// When it returns values, the writer must be able to save them (they were
// decoded from the file's own code page), and the saved line must read back
// as the same values: the texts, lists, period and azimuth convention
// exactly, the numbers to the last digit the line writes (15 significant
// digits of a double, 7 of a single).  From the second save on, the line
// comes out byte for byte the same.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "app/settings_file.h"
#include "fuzz_check.h"

namespace ostrel::fuzz {
namespace {

template <typename T>
bool SameToLastDigit(T kept, T reread, double relative) {
  const double tolerance =
      relative * std::fabs(double(kept)) + double(std::numeric_limits<T>::denorm_min());
  return std::fabs(double(reread) - double(kept)) <= tolerance;
}

void CheckRoundTrip(QByteArrayView file) {
  const std::optional<Settings> read = ReadSettings(file);
  if (!read)
    return;
  const std::optional<QByteArray> line = WriteSettings(*read);
  Require(line.has_value(), "values read from a file can be written",
          read->Town.toStdString() + " | " + read->Language.toStdString());
  const std::optional<Settings> again = ReadSettings(*line);
  Require(again.has_value(), "a written line reads back", line->toStdString());
  const std::string detail = line->toStdString();
  Require(again->Town == read->Town, "the town survives", detail);
  Require(again->Language == read->Language, "the language token survives", detail);
  Require(again->List1 == read->List1 && again->List2 == read->List2 &&
              again->TimerInterval == read->TimerInterval &&
              again->AzimuthMode == read->AzimuthMode,
          "the integers survive", detail);
  Require(SameToLastDigit(read->LongGrad, again->LongGrad, 5.2e-15) &&
              SameToLastDigit(read->LatGrad, again->LatGrad, 5.2e-15),
          "the double numbers survive to 15 digits", detail);
  Require(SameToLastDigit(read->LongMin, again->LongMin, 5.7e-7) &&
              SameToLastDigit(read->LatMin, again->LatMin, 5.7e-7) &&
              SameToLastDigit(read->Timezon, again->Timezon, 5.7e-7),
          "the single numbers survive to 7 digits", detail);
  // A single number can move by its last digit once, where a float's step
  // is coarser than its seventh digit (see the field parse target); after
  // that the line is saved byte for byte as it was read.
  const std::optional<QByteArray> second = WriteSettings(*again);
  Require(second.has_value(), "a line read back can be written", detail);
  const std::optional<Settings> third = ReadSettings(*second);
  Require(third.has_value() && WriteSettings(*third) == second,
          "a written line settles after the second save", second->toStdString());
}

} // namespace
} // namespace ostrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  // libFuzzer's own buffer, which ends exactly at `size`, so that a read
  // past the end is the sanitizer's to see.
  ostrel::fuzz::CheckRoundTrip(QByteArrayView(data, static_cast<qsizetype>(size)));
  return 0;
}
