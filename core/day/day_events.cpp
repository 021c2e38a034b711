// SPDX-License-Identifier: GPL-3.0-or-later
// The search of a day's events.
//
// The day is sampled at its two ends and at the extremes of the altitude,
// which lie at the meridian passages or, where the declination's change
// moves them, near them.  Between two neighbouring samples the altitude
// changes in one direction, so a level lies between two samples at most
// once there; each such bracket is refined by a safeguarded Newton's
// method.  Near the poles the extremes drift away from the passages, and
// the day is sampled every hour as well.
#include "core/day/day_events.h"

#include <algorithm>
#include <cmath>

#include "core/sun/angles.h"

namespace ostrel {
namespace {

// The date runs from 00:00:00 to 24:00:00 once rounded to seconds: from
// half a second before midnight to half a second before the next.
constexpr double kDayStart = -0.5 / 3600;
constexpr double kDayEnd = 86399.5 / 3600;
constexpr int kSecondsPerDay = 86400;
// A crossing is refined until its bracket is narrower than this, hours
// (3.6 ms), far inside the rounding to seconds.
constexpr double kCrossingTolerance = 1e-6;
// Meridian passages: Newton's steps end after one smaller than this, hours.
constexpr double kPassageSettled = 1e-4;
// An extreme estimated farther than this from its passage, hours, is left to
// the hourly samples of high latitudes.
constexpr double kExtremeReach = 3;
// Two ends, 23 hours and at most two passages each way with their extremes.
constexpr int kMostSamples = 40;
// Latitude beyond which the day is also sampled every hour, degrees: up to
// it the altitude changes in one direction from one extreme to the next.
constexpr double kHighLatitudeDeg = 80;
// Bounds on the loops; each ends far sooner for any input.
constexpr int kPassagePasses = 8;
// Radians of hour angle in an hour.
constexpr double kHourToRad = kPi / 12;
constexpr int kCrossingPasses = 100;

struct Sample {
  double hours;
  SkyPoint point;
  bool upperPassage;
};

// Whole seconds of a moment in hours; nothing when it does not round into
// the date.
std::optional<int> SecondsOfDay(double hours) {
  const long long seconds = std::llround(hours * 3600);
  if (seconds < 0 || seconds >= kSecondsPerDay) return std::nullopt;
  return static_cast<int>(seconds);
}

class DayScan {
public:
  explicit DayScan(const SunDay &day)
      : day_(day), sinLat_(std::sin(day.site().LatRad)), cosLat_(std::cos(day.site().LatRad)) {
    Add(kDayStart);
    Add(kDayEnd);
    const SkyPoint first = samples_[0].point, last = samples_[1].point;
    // The hour angle's rate over the date, hours an hour (very nearly 1),
    // and the declination's, radians an hour.
    const double span = kDayEnd - kDayStart;
    rate_ = (WrapHours(last.hourAngle - first.hourAngle) + 24) / span;
    declinationRate_ = (last.declinationRad - first.declinationRad) / span;
    if (std::fabs(day.site().LatRad / kRad) > kHighLatitudeDeg) {
      for (int hour = 1; hour < 24; ++hour) Add(hour);
    }
    FindPassages(0, first.hourAngle);
    FindPassages(12, first.hourAngle);
    std::sort(samples_.begin(), samples_.begin() + count_,
              [](const Sample &a, const Sample &b) { return a.hours < b.hours; });
  }

  LevelCrossings Crossings(double altitudeDeg, double sinLevel) const {
    LevelCrossings result;
    result.altitudeDeg = altitudeDeg;
    bool anyAbove = false;
    for (int i = 0; i < count_; ++i) {
      const bool above = samples_[i].point.sinAltitude >= sinLevel;
      anyAbove = anyAbove || above;
      if (i == 0) continue;
      const bool wasAbove = samples_[i - 1].point.sinAltitude >= sinLevel;
      if (above == wasAbove) continue;
      int &count = above ? result.risings : result.settings;
      if (count++ > 0) continue; // only the first of each direction is given
      const double hours = Refine(samples_[i - 1], samples_[i], sinLevel);
      if (const std::optional<int> seconds = SecondsOfDay(hours)) {
        (above ? result.rising : result.setting) = DayMoment::At(*seconds);
      } else {
        --count; // on the bound of the date: it belongs to the next one
      }
    }
    const bool crossed = result.risings + result.settings > 0;
    const Absence uncrossed = anyAbove ? Absence::AlwaysAbove : Absence::AlwaysBelow;
    if (result.risings == 0) result.rising = DayMoment::Missing(crossed ? Absence::OtherDate : uncrossed);
    if (result.settings == 0) result.setting = DayMoment::Missing(crossed ? Absence::OtherDate : uncrossed);
    return result;
  }

  // The first upper meridian passage of the date.
  std::optional<Sample> Culmination() const {
    for (int i = 0; i < count_; ++i) {
      if (samples_[i].upperPassage && SecondsOfDay(samples_[i].hours)) return samples_[i];
    }
    return std::nullopt;
  }

private:
  void Add(double hours, bool upperPassage = false) {
    if (count_ < kMostSamples) samples_[count_++] = {hours, day_.At(hours), upperPassage};
  }

  // The moments of the date at which the hour angle is `target` (0 or 12
  // hours), by Newton's method from the rate over the date; after a step
  // of 1e-4 h the next would be below 1e-8 h.  Each passage is sampled, and
  // so is the extreme of the altitude near it.
  void FindPassages(double target, double firstHourAngle) {
    double ahead = target - firstHourAngle;
    ahead -= 24 * std::floor(ahead / 24);
    // One passage a day each way, two where the date is a little longer
    // than the Sun's day.
    for (int turn = 0; turn < 2; ++turn) {
      double hours = kDayStart + (ahead + 24 * turn) / rate_;
      if (hours > kDayEnd + 0.1) break;
      for (int pass = 0; pass < kPassagePasses; ++pass) {
        const double step = WrapHours(day_.At(hours).hourAngle - target) / rate_;
        hours -= step;
        if (std::fabs(step) < kPassageSettled) break;
      }
      if (hours < kDayStart || hours > kDayEnd) continue;
      Add(hours, target == 0);
      AddExtreme(samples_[count_ - 1], target == 0 ? 1.0 : -1.0);
    }
  }

  // The altitude's extreme near a meridian passage lies where the change
  // of the declination balances the turning of the hour angle: a Newton
  // step from the passage on the first and second derivatives of sin h.
  // Sampling it brackets a level that the Sun reaches only for moments
  // about its extreme.
  void AddExtreme(const Sample &passage, double cosHourAngle) {
    const double declination = passage.point.declinationRad;
    const double omega = kHourToRad * rate_;
    const double first = (sinLat_ * std::cos(declination) -
                          cosLat_ * std::sin(declination) * cosHourAngle) * declinationRate_;
    const double second = -cosLat_ * std::cos(declination) * cosHourAngle * omega * omega;
    if (second == 0) return;
    const double offset = -first / second;
    const double hours = passage.hours + offset;
    if (std::fabs(offset) > kPassageSettled && std::fabs(offset) < kExtremeReach &&
        hours > kDayStart && hours < kDayEnd) {
      Add(hours);
    }
  }

  // The moment between two samples at which the sine of the altitude is
  // sinLevel.  The first guess is the hour angle of the level for the
  // declination at the first sample; then Newton's method with the slope of
  // the altitude from the hour angle alone (the declination's change is
  // small beside it), kept inside the bracket, and halving where a step
  // would leave it.
  double Refine(const Sample &from, const Sample &to, double sinLevel) const {
    double a = from.hours, b = to.hours;
    const bool aBelow = from.point.sinAltitude < sinLevel;
    double t = FirstGuess(from, to, sinLevel);
    for (int pass = 0; pass < kCrossingPasses; ++pass) {
      const SkyPoint p = day_.At(t);
      const double f = p.sinAltitude - sinLevel;
      if (f == 0) return t;
      ((f < 0) == aBelow ? a : b) = t;
      const double slope =
          -cosLat_ * std::cos(p.declinationRad) * std::sin(p.hourAngle * kHourToRad) * kHourToRad;
      const double next = slope != 0 ? t - f / slope : a;
      const bool inside = next > std::min(a, b) && next < std::max(a, b);
      if (inside && std::fabs(next - t) < kCrossingTolerance) return next;
      if (std::fabs(b - a) < kCrossingTolerance) return (a + b) / 2;
      t = inside ? next : (a + b) / 2;
    }
    return t;
  }

  double FirstGuess(const Sample &from, const Sample &to, double sinLevel) const {
    const double midpoint = (from.hours + to.hours) / 2;
    const double cosDecl = std::cos(from.point.declinationRad);
    const double divisor = cosLat_ * cosDecl;
    if (divisor == 0) return midpoint;
    const double cosHourAngle =
        (sinLevel - sinLat_ * std::sin(from.point.declinationRad)) / divisor;
    if (std::fabs(cosHourAngle) > 1) return midpoint;
    const double levelHourAngle = std::acos(cosHourAngle) / kHourToRad;
    const bool rising = to.point.sinAltitude > from.point.sinAltitude;
    const double target = rising ? -levelHourAngle : levelHourAngle;
    const double ahead = target - from.point.hourAngle;
    const double guess = from.hours + (ahead - 24 * std::floor(ahead / 24));
    return guess > from.hours && guess < to.hours ? guess : midpoint;
  }

  const SunDay &day_;
  double sinLat_, cosLat_;
  double rate_ = 1, declinationRate_ = 0;
  std::array<Sample, kMostSamples> samples_{};
  int count_ = 0;
};

double AltitudeDegOfSine(double sinAltitude) {
  return std::atan(sinAltitude / std::sqrt(1 - std::pow(sinAltitude, 2))) / kRad;
}

} // namespace

LevelCrossings FindCrossings(const SunDay &day, double altitudeDeg) {
  return DayScan(day).Crossings(altitudeDeg, std::sin(altitudeDeg * kRad));
}

DayEvents FindDayEvents(const SunDay &day, std::span<const double> altitudesDeg,
                        DayEventSet set) {
  const DayScan scan(day);
  const auto level = [&scan](double altitudeDeg) {
    return scan.Crossings(altitudeDeg, std::sin(altitudeDeg * kRad));
  };
  DayEvents events;

  const double sinHorizon = day.HorizonSinAltitude();
  const LevelCrossings horizon = scan.Crossings(AltitudeDegOfSine(sinHorizon), sinHorizon);
  events.sunrise = horizon.rising;
  events.sunset = horizon.setting;
  if (horizon.risings == 0 && horizon.settings == 0) {
    events.polar = horizon.rising.absence == Absence::AlwaysAbove ? Polar::Day : Polar::Night;
  }
  if (events.polar == Polar::Day) {
    events.dayLengthSeconds = kSecondsPerDay;
  } else if (events.polar == Polar::Night) {
    events.dayLengthSeconds = 0;
  } else if (horizon.risings == 1 && horizon.settings == 1 &&
             events.sunrise.seconds < events.sunset.seconds) {
    events.dayLengthSeconds = events.sunset.seconds - events.sunrise.seconds;
  }

  if (const std::optional<Sample> culmination = scan.Culmination()) {
    events.culmination = DayMoment::At(*SecondsOfDay(culmination->hours));
    events.culminationAltitudeDeg = AltitudeDegOfSine(culmination->point.sinAltitude);
  } else {
    events.culmination = DayMoment::Missing(Absence::OtherDate);
  }

  if (set == DayEventSet::Horizon) {
    events.altitudes.reserve(altitudesDeg.size());
    for (double altitudeDeg : altitudesDeg) events.altitudes.push_back(level(altitudeDeg));
    return events;
  }

  const LevelCrossings civil = level(kCivilTwilightDeg);
  const LevelCrossings nautical = level(kNauticalTwilightDeg);
  const LevelCrossings astronomical = level(kAstronomicalTwilightDeg);
  events.civilDawn = civil.rising;
  events.civilDusk = civil.setting;
  events.nauticalDawn = nautical.rising;
  events.nauticalDusk = nautical.setting;
  events.astronomicalDawn = astronomical.rising;
  events.astronomicalDusk = astronomical.setting;

  if (set == DayEventSet::Full) {
    const LevelCrossings low = level(kGoldenHourLowDeg);
    const LevelCrossings high = level(kGoldenHourHighDeg);
    events.morningGoldenHour = {low.rising, high.rising};
    events.eveningGoldenHour = {high.setting, low.setting};
    events.morningBlueHour = {civil.rising, low.rising};
    events.eveningBlueHour = {low.setting, civil.setting};
  }

  events.altitudes.reserve(altitudesDeg.size());
  for (double altitudeDeg : altitudesDeg) events.altitudes.push_back(level(altitudeDeg));
  return events;
}

const char *AbsenceKey(Absence absence) {
  switch (absence) {
  case Absence::None: return "";
  case Absence::AlwaysAbove: return "above";
  case Absence::AlwaysBelow: return "below";
  case Absence::OtherDate: return "other_date";
  }
  return "";
}

} // namespace ostrel
