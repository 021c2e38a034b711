// SPDX-License-Identifier: GPL-3.0-or-later
// The scan of a date against the observer's horizon.
#include "core/observer/observer_day.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/sun/precise_sun.h"

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
// The coarse samples, an hour apart, and the fine ones, a minute apart,
// where the Sun comes within reach of the horizon.
constexpr int kCoarseSteps = 24;
constexpr double kFineStep = 1.0 / 60;
// Between two samples an hour apart the sine of the altitude strays from
// the straight line between them by at most w^2 (1 h)^2 / 8 = 0.0086 (w
// the Earth's turning, 0.2625 radians an hour); this keeps a little more.
constexpr double kSineMargin = 0.01;
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

// The skyline's steepest slope, degrees of altitude a degree of azimuth,
// around the circle; 0 for a flat horizon.
double SteepestSlope(const ObserverHorizon &horizon) {
  const std::vector<HorizonPoint> &points = horizon.profile().points();
  double steepest = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const HorizonPoint &a = points[i], &b = points[(i + 1) % points.size()];
    double span = b.azimuthDeg - a.azimuthDeg;
    if (span <= 0) span += 360;
    steepest = std::max(steepest, std::fabs(b.altitudeDeg - a.altitudeDeg) / span);
  }
  return steepest;
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
    // How fast the margin can change while the Sun is within reach of the
    // horizon, degrees an hour: the altitude at most 15 cos(latitude), the
    // azimuth at most 15 (|sin(latitude)| + |cos(latitude)| tan h) for the
    // highest h within reach, times the skyline's steepest slope, and
    // that by 1.5 for the change of the refraction with the horizon's
    // altitude (at most half a degree a degree); a tenth more for the
    // declination's change and the rounding of these bounds.
    const double highestDeg =
        std::min(std::asin(std::min(1.0, sinHighest_ + kSineMargin)) / kDegree, 89.0);
    const double azimuthRate =
        15 * (std::fabs(sinLat_) + std::fabs(cosLat_) * std::tan(highestDeg * kDegree));
    marginRate_ = 1.1 * (15 * std::fabs(cosLat_) + 1.5 * SteepestSlope(horizon) * azimuthRate) + 1;
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
      // The part of the hour in which the sine, within kSineMargin of the
      // straight line, may reach from the lowest horizon to the highest.
      const double s0 = previous.sinAltitude, s1 = next.sinAltitude;
      const double low = sinLowest_ - kSineMargin, high = sinHighest_ + kSineMargin;
      double u0 = 0, u1 = 1;
      if (s1 != s0) {
        const double a = (low - s0) / (s1 - s0), b = (high - s0) / (s1 - s0);
        u0 = std::max(0.0, std::min(a, b));
        u1 = std::min(1.0, std::max(a, b));
      } else if (s0 < low || s0 > high) {
        u0 = 1, u1 = 0;
      }
      if (u0 <= u1) {
        // Within reach of the horizon: every minute from where the reach
        // begins to where it ends; before and after it the side is the
        // one at the hour's ends.
        double t0 = from + (to - from) * u0;
        double m0 = u0 == 0 ? previousMargin : Margin(day_.At(t0));
        const double end = from + (to - from) * u1;
        if (u0 > 0) Check(from, previousMargin, t0, m0);
        while (t0 < end) {
          // A minute, or longer where the margin cannot close in less.
          const double t1 = std::min(t0 + std::max(kFineStep, std::fabs(m0) / marginRate_), end);
          const double m1 = t1 == to ? Margin(next) : Margin(day_.At(t1));
          Check(t0, m0, t1, m1);
          t0 = t1;
          m0 = m1;
        }
        previousMargin = u1 == 1 ? m0 : Margin(next);
        if (u1 < 1) Check(end, m0, to, previousMargin);
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
  double marginRate_ = 15; // degrees an hour, a bound
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
  // Everything but the observer's sunrise and sunset exactly as without an
  // observer: from the site at sea level.
  site.elevationM = 0;
  const double elevationM = horizon.observer().elevationM;
  if (theory == Theory::Precise) {
    const PreciseSunDay seaLevel(site, date);
    DayEvents events = FindDayEvents(seaLevel, altitudesDeg, set);
    const PreciseSunDay raised = elevationM != 0 ? seaLevel.AtElevation(elevationM) : seaLevel;
    HorizonScan scan(raised, horizon);
    scan.Run();
    PutObserverEvents(scan, events);
    return events;
  }
  // The classic theory has no site height.
  const ClassicSunDay day(site, date);
  DayEvents events = FindDayEvents(day, altitudesDeg, set);
  HorizonScan scan(day, horizon);
  scan.Run();
  PutObserverEvents(scan, events);
  return events;
}

} // namespace ostrel
