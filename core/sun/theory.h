// SPDX-License-Identifier: GPL-3.0-or-later
// The two theories of the Sun's place, chosen once and used throughout: by
// the main window's run, the day's events, the tables and the command line.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "core/sun/sun_day.h"

namespace ostrel {

enum class Theory {
  Classic, // the fixed orbit of the 1980 epoch: the window's own texts
  Precise, // ERFA's Earth with aberration, nutation and Delta T
};

// "classic" or "precise": the word of the command line, its JSON and the
// settings file.
const char *TheoryKey(Theory theory);
std::optional<Theory> TheoryFromKey(std::string_view key);

// The Sun over a local date in a theory.
std::unique_ptr<SunDay> MakeSunDay(Theory theory, const Site &site, CivilDate date);

} // namespace ostrel
