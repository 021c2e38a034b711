// SPDX-License-Identifier: GPL-3.0-or-later
// The scan of a date against the observer's horizon.
#include "core/observer/observer_day.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace ostrel {
namespace {

constexpr double kDegree = std::numbers::pi / 180;
constexpr double kHourAngleRad = std::numbers::pi / 12; // radians an hour
constexpr double kSemiDiameterAt1AuArcsec = 959.63;
// The date as FindDayEvents takes it: from half a second before 00:00:00
// to half a second before the next date, hours.
constexpr double kDayStart = -0.5 / 3600;
constexpr double kDayEnd = 86399.5 / 3600;
constexpr int kSecondsPerDay = 86400;
// The coarse samples, hours apart, and the fine ones inside a coarse step
// that comes near the horizon.
constexpr int kCoarseSteps = 48;
constexpr int kFineSteps = 30; // a minute each
// Between two samples half an hour apart the sine of the altitude strays
// from the straight line by at most w^2 (1/2 h)^2 / 8 = 0.0021 (w the
// Earth's turning, 0.2618 radians an hour); this keeps a little more.
constexpr double kSineMargin = 0.003;
// A crossing is refined until its bracket is narrower than this, hours
// (3.6 ms), as FindDayEvents refines.
constexpr double kCrossingTolerance = 1e-6;
constexpr int kCrossingPasses = 100;

std::optional<int> SecondsOfDay(double hours) {
  const long long seconds = std::llround(hours * 3600);
  if (seconds < 0 || seconds >= kSecondsPerDay) return std::nullopt;
  return static_cast<int>(seconds);
}

double DegreesOfSine(double sine) { return std::asin(std::clamp(sine, -1.0, 1.0)) / kDegree; }

// The Sun's azimuth, degrees from north through east, from a sample.
double AzimuthDeg(const SkyPoint &p, double sinLat, double cosLat) {
  const double h = p.hourAngle * kHourAngleRad;
  const double y = -std::cos(p.declinationRad) * std::sin(h);
  const double x = std::sin(p.declinationRad) * cosLat -
                   std::cos(p.declinationRad) * std::cos(h) * sinLat;
  const double azimuth = std::atan2(y, x) / kDegree;
  return azimuth < 0 ? azimuth + 360 : azimuth;
}

struct Crossing {
  double hours;
  bool rising;
};

class HorizonScan {
public:
  HorizonScan(const SunDay &day, const ObserverHorizon &horizon)
      : day_(day), horizon_(horizon), sinLat_(std::sin(day.site().LatRad)),
        cosLat_(std::cos(day.site().LatRad)),
        semiDiameterDeg_(SunSemiDiameterDeg(day.PlaceAt(12).distanceAU)) {
    sinLowest_ = std::sin(
        horizon.CentreAltitudeForApparentDeg(horizon.LowestApparentDeg(), semiDiameterDeg_) *
        kDegree);
    sinHighest_ = std::sin(
        horizon.CentreAltitudeForApparentDeg(horizon.HighestApparentDeg(), semiDiameterDeg_) *
        kDegree);
  }

  // Above the horizon at the start of the date, and the changes of side in
  // time order.
  bool aboveAtStart = false;
  std::vector<Crossing> crossings;

  void Run() {
    const double step = (kDayEnd - kDayStart) / kCoarseSteps;
    SkyPoint previous = day_.At(kDayStart);
    double previousMargin = Margin(previous);
    aboveAtStart = previousMargin >= 0;
    for (int k = 1; k <= kCoarseSteps; ++k) {
      const double from = kDayStart + (k - 1) * step;
      const double to = k == kCoarseSteps ? kDayEnd : kDayStart + k * step;
      const SkyPoint next = day_.At(to);
      const double low = std::min(previous.sinAltitude, next.sinAltitude) - kSineMargin;
      const double high = std::max(previous.sinAltitude, next.sinAltitude) + kSineMargin;
      if (high >= sinLowest_ && low <= sinHighest_) {
        // Within reach of the horizon: every minute.
        double t0 = from, m0 = previousMargin;
        for (int i = 1; i <= kFineSteps; ++i) {
          const double t1 = i == kFineSteps ? to : from + (to - from) * i / kFineSteps;
          const double m1 = i == kFineSteps ? Margin(next) : Margin(day_.At(t1));
          Check(t0, m0, t1, m1);
          t0 = t1;
          m0 = m1;
        }
        previousMargin = m0;
      } else {
        // Wholly above the highest horizon or below the lowest: the side
        // cannot change.
        previousMargin = Margin(next);
      }
      previous = next;
    }
  }

private:
  // The centre's true altitude less the level at which the limb is on the
  // horizon at the Sun's azimuth, degrees: 0 or more while it is visible.
  double Margin(const SkyPoint &p) const {
    return DegreesOfSine(p.sinAltitude) -
           horizon_.CentreAltitudeDeg(AzimuthDeg(p, sinLat_, cosLat_), semiDiameterDeg_);
  }

  void Check(double t0, double m0, double t1, double m1) {
    if ((m0 >= 0) == (m1 >= 0)) return;
    crossings.push_back({Refine(t0, m0, t1, m1), m1 >= 0});
  }

  // Regula falsi with the Illinois halving: the margin is smooth between
  // the skyline's points and only kinks at them, so this settles in a few
  // steps where bisection would take fourteen.
  double Refine(double a, double ma, double b, double mb) const {
    int side = 0;
    for (int pass = 0; pass < kCrossingPasses && b - a >= kCrossingTolerance; ++pass) {
      double t = (a * mb - b * ma) / (mb - ma);
      if (!(t > a && t < b)) t = (a + b) / 2;
      const double m = Margin(day_.At(t));
      if ((m >= 0) == (ma >= 0)) {
        a = t;
        ma = m;
        if (side == -1) mb /= 2;
        side = -1;
      } else {
        b = t;
        mb = m;
        if (side == 1) ma /= 2;
        side = 1;
      }
    }
    return (a + b) / 2;
  }

  const SunDay &day_;
  const ObserverHorizon &horizon_;
  double sinLat_, cosLat_;
  double semiDiameterDeg_;
  double sinLowest_ = 0, sinHighest_ = 0;
};

// The observer's part of the events from the scan; `events` holds
// FindDayEvents' for the date, whose sunrise and sunset become sea level's.
void PutObserverEvents(const HorizonScan &scan, DayEvents &events) {
  ObserverEvents observer;
  observer.seaLevelSunrise = events.sunrise;
  observer.seaLevelSunset = events.sunset;

  bool above = scan.aboveAtStart;
  VisibleSpan open{DayMoment::Missing(Absence::OtherDate), {}};
  int crossed = 0;
  for (const Crossing &crossing : scan.crossings) {
    // A crossing that rounds outside the date belongs to the one before or
    // after it.
    const std::optional<int> seconds = SecondsOfDay(crossing.hours);
    if (!seconds || crossing.rising == above) continue;
    ++crossed;
    above = crossing.rising;
    if (crossing.rising) {
      open.rising = DayMoment::At(*seconds);
    } else {
      open.setting = DayMoment::At(*seconds);
      observer.visible.push_back(open);
    }
  }
  if (above) {
    open.setting = DayMoment::Missing(Absence::OtherDate);
    observer.visible.push_back(open);
  }
  for (const VisibleSpan &span : observer.visible) {
    observer.directSunSeconds += (span.setting.happens() ? span.setting.seconds : kSecondsPerDay) -
                                 (span.rising.happens() ? span.rising.seconds : 0);
  }

  const Absence uncrossed = above ? Absence::AlwaysAbove : Absence::AlwaysBelow;
  const Absence missing = crossed > 0 ? Absence::OtherDate : uncrossed;
  events.sunrise = DayMoment::Missing(missing);
  events.sunset = DayMoment::Missing(missing);
  const auto risen = std::find_if(observer.visible.begin(), observer.visible.end(),
                                  [](const VisibleSpan &s) { return s.rising.happens(); });
  if (risen != observer.visible.end()) events.sunrise = risen->rising;
  const auto set = std::find_if(observer.visible.rbegin(), observer.visible.rend(),
                                [](const VisibleSpan &s) { return s.setting.happens(); });
  if (set != observer.visible.rend()) events.sunset = set->setting;

  events.polar = crossed > 0 ? Polar::None : above ? Polar::Day : Polar::Night;
  events.dayLengthSeconds.reset();
  if (events.polar == Polar::Day) {
    events.dayLengthSeconds = kSecondsPerDay;
  } else if (events.polar == Polar::Night) {
    events.dayLengthSeconds = 0;
  } else if (!scan.aboveAtStart && !above) {
    // The date's first crossing a rising and its last a setting.
    events.dayLengthSeconds = events.sunset.seconds - events.sunrise.seconds;
  }
  events.observer = std::move(observer);
}

} // namespace

double SunSemiDiameterDeg(double distanceAU) {
  return kSemiDiameterAt1AuArcsec / distanceAU / 3600;
}

ObserverHorizon::ObserverHorizon(const Observer &observer, HorizonProfile profile)
    : observer_(observer), profile_(std::move(profile)), dipDeg_(ostrel::DipDeg(observer)),
      refractionScale_(RefractionScale(observer)) {}

double ObserverHorizon::ApparentAltitudeDeg(double azimuthDeg) const {
  const std::optional<double> skyline = profile_.AltitudeAt(azimuthDeg);
  return skyline ? std::max(-dipDeg_, *skyline) : -dipDeg_;
}

double ObserverHorizon::CentreAltitudeForApparentDeg(double apparentDeg,
                                                      double semiDiameterDeg) const {
  return apparentDeg - BennettRefractionDeg(apparentDeg) * refractionScale_ - semiDiameterDeg;
}

double ObserverHorizon::CentreAltitudeDeg(double azimuthDeg, double semiDiameterDeg) const {
  return CentreAltitudeForApparentDeg(ApparentAltitudeDeg(azimuthDeg), semiDiameterDeg);
}

double ObserverHorizon::LowestApparentDeg() const {
  return profile_.empty() ? -dipDeg_ : std::max(-dipDeg_, profile_.LowestDeg());
}

double ObserverHorizon::HighestApparentDeg() const {
  return profile_.empty() ? -dipDeg_ : std::max(-dipDeg_, profile_.HighestDeg());
}

DayEvents FindObserverDayEvents(const SunDay &day, const ObserverHorizon &horizon,
                                std::span<const double> altitudesDeg, DayEventSet set) {
  DayEvents events = FindDayEvents(day, altitudesDeg, set);
  HorizonScan scan(day, horizon);
  scan.Run();
  PutObserverEvents(scan, events);
  return events;
}

DayEvents FindObserverDayEvents(Theory theory, Site site, CivilDate date,
                                const ObserverHorizon &horizon,
                                std::span<const double> altitudesDeg, DayEventSet set) {
  site.elevationM = horizon.observer().elevationM;
  const std::unique_ptr<SunDay> day = MakeSunDay(theory, site, date);
  DayEvents events = FindDayEvents(*day, altitudesDeg, set);
  if (theory == Theory::Precise && site.elevationM != 0) {
    // Sea level's sunrise and sunset from the site at sea level, as
    // without an observer.
    site.elevationM = 0;
    const DayEvents seaLevel = FindDayEvents(*MakeSunDay(theory, site, date), {},
                                             DayEventSet::Horizon);
    events.sunrise = seaLevel.sunrise;
    events.sunset = seaLevel.sunset;
  }
  HorizonScan scan(*day, horizon);
  scan.Run();
  PutObserverEvents(scan, events);
  return events;
}

} // namespace ostrel
