// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/run/typed_input.h"

namespace ostrel {

double LongitudeHours(double degrees, float minutes, bool west) {
  const double hours = (double(minutes) / 60 + degrees) / 15;
  return west ? -hours : hours;
}

double LatitudeRadians(double degrees, float minutes, bool south, double rad) {
  const double radians = (double(minutes) / 60 + degrees) * rad;
  return south ? -radians : radians;
}

void SetSite(CalcState &state, double longHours, double latRad, float timezone) {
  state.LongHours = longHours;
  state.LatRad = latRad;
  state.Timezon = timezone;
  state.DayBoundary = 0.5 - double(timezone) / 24;
}

void SetTypedMoment(CalcState &state, double year, double month, double day, double hour,
                    double minute, double second) {
  state.DateYear = year;
  state.DateMonth = month;
  state.DateDay = day;
  state.UtHours = ((minute / 60 + hour) + second / 3600) - double(state.Timezon);
  state.DayUt = state.UtHours / 24 + day;
}

} // namespace ostrel
