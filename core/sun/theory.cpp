// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sun/theory.h"

#include "core/sun/precise_sun.h"

namespace ostrel {

const char *TheoryKey(Theory theory) {
  return theory == Theory::Precise ? "precise" : "classic";
}

std::optional<Theory> TheoryFromKey(std::string_view key) {
  if (key == "classic") return Theory::Classic;
  if (key == "precise") return Theory::Precise;
  return std::nullopt;
}

std::unique_ptr<SunDay> MakeSunDay(Theory theory, const Site &site, CivilDate date) {
  if (theory == Theory::Precise) return std::make_unique<PreciseSunDay>(site, date);
  return std::make_unique<ClassicSunDay>(site, date);
}

} // namespace ostrel
