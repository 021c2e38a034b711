// SPDX-License-Identifier: GPL-3.0-or-later
// MAINCALC on any site and moment that the window's checks let through.
//
// The bytes choose the values: a year, month and day (whole, as the date
// boxes and the clock give them, or any value "Calculate" accepts: 1700 to
// 2100, 1 to 12 and 1 to 31 with the window's rule for the month's last
// day), a time of day, a site with degrees and minutes and the hemisphere
// lists, a time zone, the azimuth convention, the decimal separator, and
// which handler filled the state: "Calculate" in double precision, or the
// clock's tick in single precision with the tick's wider latitude bound.
//
// Every text of the report must be a number or a placeholder (digits,
// sign, separator, dashes and blanks), never nan, inf or an exponent; and
// 0 h UT of the local date must be a Julian date ending in .5.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/run/ephemeris.h"
#include "core/text/numtext.h"
#include "fuzz_check.h"

namespace ostrel::fuzz {
namespace {

// The latitude bounds of the two handlers, radians (app/manual_input.cpp and
// app/tracking.cpp).
constexpr double kManualLatitudeBound = 1.5707963268;
constexpr double kTrackingLatitudeBound = 1.5708;
// The greatest minutes of arc the window accepts.
constexpr float kMinutesBound = 59.99f;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Degrees with minutes as typed: whole degrees and whole minutes most of
// the time, any accepted value otherwise.
double Degrees(FuzzedDataProvider &bytes, bool whole, double maxDegrees, float &minutes) {
  if (whole) {
    minutes = static_cast<float>(bytes.ConsumeIntegralInRange(0, 59));
    return bytes.ConsumeIntegralInRange(-static_cast<int>(maxDegrees),
                                        static_cast<int>(maxDegrees));
  }
  minutes = bytes.ConsumeFloatingPointInRange(0.0f, kMinutesBound);
  return bytes.ConsumeFloatingPointInRange(-maxDegrees, maxDegrees);
}

void CheckText(const char *label, const std::string &text, const std::string &separator) {
  for (const char c : text) {
    const bool allowed = (c >= '0' && c <= '9') || c == '-' || c == ' ' ||
                         separator.find(c) != std::string::npos;
    Require(allowed, "a result is a number or a placeholder", std::string(label) + " = " + text);
  }
}

} // namespace
} // namespace ostrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using namespace ostrel;
  using namespace ostrel::fuzz;
  FuzzedDataProvider bytes(data, size);
  const bool tick = bytes.ConsumeBool();
  const bool wholeDate = tick || bytes.ConsumeBool();
  const bool wholeSite = bytes.ConsumeBool();
  const std::string separator = bytes.ConsumeBool() ? "," : ".";
  constexpr std::int16_t modes[] = {FromNorth, FromSouth, FromSouthSigned};
  const std::int16_t azimuthMode = bytes.PickValueInArray(modes);

  // The site as CheckSite turns it into hours and radians.
  float longMinutes = 0, latMinutes = 0;
  const double longDegrees = Degrees(bytes, wholeSite, 180, longMinutes);
  const double latDegrees = Degrees(bytes, wholeSite, 90, latMinutes);
  const bool west = bytes.ConsumeBool(), south = bytes.ConsumeBool();
  const float timezone = wholeSite ? static_cast<float>(bytes.ConsumeIntegralInRange(-24, 24)) / 2
                                   : bytes.ConsumeFloatingPointInRange(-12.0f, 12.0f);
  Ephemeris e;
  CalcState &s = e.state;
  double longHours = (double(longMinutes) / 60 + longDegrees) / 15;
  double latRad = (double(latMinutes) / 60 + latDegrees) * s.Rad;
  if (west)
    longHours = -longHours;
  if (south)
    latRad = -latRad;
  const double latitudeBound = tick ? kTrackingLatitudeBound : kManualLatitudeBound;
  if (longHours < -12 || longHours > 12 || latRad < -latitudeBound || latRad > latitudeBound)
    return -1; // refused by the window: not a run MAINCALC can get
  s.LongHours = longHours;
  s.LatRad = latRad;
  s.Timezon = timezone;
  s.DayBoundary = 0.5 - double(timezone) / 24;
  s.AzimuthMode = azimuthMode;
  e.SetNumberFormat(separator);

  if (wholeDate) {
    const int year = bytes.ConsumeIntegralInRange(1700, 2100);
    const int month = bytes.ConsumeIntegralInRange(1, 12);
    s.DateYear = year;
    s.DateMonth = month;
    s.DateDay = bytes.ConsumeIntegralInRange(1, DaysInMonth(year, month));
  } else {
    // Any value the checks of "Calculate" accept, with its rule for the
    // last day: exactly 31 in a 30-day month, beyond 28 or 29 in February.
    s.DateYear = bytes.ConsumeFloatingPointInRange(1700.0, 2100.0);
    s.DateMonth = bytes.ConsumeFloatingPointInRange(1.0, 12.0);
    s.DateDay = bytes.ConsumeFloatingPointInRange(1.0, 31.0);
    const double m = s.DateMonth;
    const bool leap = RoundHalfEven(s.DateYear) % 4 == 0 && s.DateYear != 1700 &&
                      s.DateYear != 1800 && s.DateYear != 1900 && s.DateYear != 2100;
    if ((m == 4 || m == 6 || m == 9 || m == 11) && s.DateDay == 31)
      s.DateDay = 30;
    if (m == 2 && s.DateDay > (leap ? 29 : 28))
      s.DateDay = leap ? 29 : 28;
  }
  if (tick) {
    // The clock: milliseconds since local midnight; UT hours and the day
    // with its UT fraction in single precision.
    const double seconds = bytes.ConsumeIntegralInRange(0, 86'399'999) / 1000.0;
    const float utHours = static_cast<float>(seconds / 3600 - double(timezone));
    s.UtHours = utHours;
    s.DayUt = static_cast<float>(s.DateDay + (utHours / 24.0f));
  } else {
    const bool wholeTime = bytes.ConsumeBool();
    const double hour = wholeTime ? bytes.ConsumeIntegralInRange(0, 23)
                                  : bytes.ConsumeFloatingPointInRange(0.0, 23.0);
    const double minute = wholeTime ? bytes.ConsumeIntegralInRange(0, 59)
                                    : bytes.ConsumeFloatingPointInRange(0.0, 59.0);
    const double second = wholeTime ? bytes.ConsumeIntegralInRange(0, 59)
                                    : bytes.ConsumeFloatingPointInRange(0.0, 59.0);
    s.UtHours = ((minute / 60 + hour) + second / 3600) - double(timezone);
    s.DayUt = s.UtHours / 24 + s.DateDay;
  }

  e.MAINCALC();
  for (const auto &[label, text] : SunReport::Labels)
    CheckText(label, e.report.*text, separator);
  Require(e.state.JulDay0 - std::floor(e.state.JulDay0) == 0.5,
          "0 h UT of the local date is a Julian date ending in .5", e.report.JulianDate);
  return 0;
}
