// SPDX-License-Identifier: GPL-3.0-or-later
// The UTC offsets of the IANA time zones, from the system's time-zone
// database (tzdata) through Howard Hinnant's date library, so that a new
// tzdata release corrects them without a new program.
#pragma once

#include <chrono>
#include <optional>
#include <string_view>

#include "core/sun/sun_day.h"

namespace ostrel::cli {

// The offset, hours (local civil time = UT + offset), in force in `zone` at
// an instant; none when the database has no such zone.
std::optional<float> OffsetAt(std::string_view zone, std::chrono::system_clock::time_point instant);

// The offset in force at a local civil time of `zone`, seconds from the
// start of the date.  A time that the clocks pass twice (the hour repeated
// when they go back) takes the first, summer one; a time they skip takes the
// offset before the change.
std::optional<float> OffsetAtLocal(std::string_view zone, CivilDate date, int secondsOfDay);

} // namespace ostrel::cli
