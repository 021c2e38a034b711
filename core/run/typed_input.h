// SPDX-License-Identifier: GPL-3.0-or-later
// The site and the moment as the window's input fields give them, turned
// into the units of the calculation.  The window and the command line both
// fill CalcState through these, so the same typed values give the same run.
#pragma once

#include "core/run/records.h"

namespace ostrel {

// Degrees and minutes as typed, with the hemisphere chosen in the list.  The
// minutes are added to the degrees as they stand, sign included: -10
// degrees with 30 minutes is -9.5 degrees.
double LongitudeHours(double degrees, float minutes, bool west);
double LatitudeRadians(double degrees, float minutes, bool south, double rad = kRad);

// LongHours, LatRad, Timezon and DayBoundary.
void SetSite(CalcState &state, double longHours, double latRad, float timezone);

// The date and the time of day as typed for "Calculate": UtHours and DayUt
// in double precision, summed in this order; UtHours stays outside 0..24
// where the time zone takes it.  SetSite first.
void SetTypedMoment(CalcState &state, double year, double month, double day, double hour,
                    double minute, double second);

} // namespace ostrel
