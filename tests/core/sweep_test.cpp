// SPDX-License-Identifier: GPL-3.0-or-later
// A sweep over the whole accepted domain: every text has its form (digits,
// sign, decimal point or placeholder) and none is nan or inf, at the poles,
// the polar circles, the date line, midnight and the ends of the years.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "run_helpers.h"

namespace ostrel::test {
namespace {

bool IsDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// "-"? digits ("." digits)?, at most `decimals` decimals, no "-0", no
// leading zero before another digit, no trailing zero after the point.
bool IsNumber(std::string_view s, int decimals) {
  const bool negative = !s.empty() && s.front() == '-';
  if (negative) s.remove_prefix(1);
  const auto point = s.find('.');
  const std::string_view whole = s.substr(0, point);
  if (!IsDigits(whole) || (whole.size() > 1 && whole.front() == '0')) return false;
  if (point != std::string_view::npos) {
    const std::string_view fraction = s.substr(point + 1);
    if (!IsDigits(fraction) || static_cast<int>(fraction.size()) > decimals ||
        fraction.back() == '0')
      return false;
  } else if (negative && whole == "0") {
    return false;
  }
  return true;
}

bool InRange(const std::string &s, int low, int high) {
  if (!IsNumber(s, 0)) return false;
  const int v = std::stoi(s);
  return v >= low && v <= high;
}

// Returns the first text that breaks its form, or an empty string.  The
// equation of time stays within about 16.5 min, plus the 3.94-min step of
// the sidereal time when local mean noon falls on another local day.
std::string CheckForms(const Ephemeris &e) {
  const SunReport &r = e.report;
  const auto fail = [](const char *name, const std::string &text) {
    return std::string(name) + " = \"" + text + "\"";
  };
#define OSTREL_EXPECT_FORM(field, ok) \
  if (!(ok)) return fail(#field, r.field)
  OSTREL_EXPECT_FORM(DOY, InRange(r.DOY, 1, 366));
  OSTREL_EXPECT_FORM(JulianDate, IsNumber(r.JulianDate, 5));
  OSTREL_EXPECT_FORM(SidHour, InRange(r.SidHour, 0, 24));
  OSTREL_EXPECT_FORM(SidMin, InRange(r.SidMin, 0, 59));
  OSTREL_EXPECT_FORM(SidSec, InRange(r.SidSec, 0, 59));
  OSTREL_EXPECT_FORM(LongSun, IsNumber(r.LongSun, 4) && r.LongSun[0] != '-');
  OSTREL_EXPECT_FORM(DistAU, r.DistAU.size() == 10 && r.DistAU[1] == '.' &&
                                 IsDigits(r.DistAU.substr(0, 1)) && IsDigits(r.DistAU.substr(2)));
  OSTREL_EXPECT_FORM(Distkm, InRange(r.Distkm, 147000000, 152200000));
  OSTREL_EXPECT_FORM(DiamMin, InRange(r.DiamMin, 31, 32));
  OSTREL_EXPECT_FORM(DiamSec, InRange(r.DiamSec, 0, 59));
  OSTREL_EXPECT_FORM(RAHour, InRange(r.RAHour, 0, 24));
  OSTREL_EXPECT_FORM(RAMin, InRange(r.RAMin, 0, 59));
  OSTREL_EXPECT_FORM(RASec, InRange(r.RASec, 0, 59));
  OSTREL_EXPECT_FORM(Label33, r.Label33.empty() || r.Label33 == "-");
  OSTREL_EXPECT_FORM(DeclGrad, InRange(r.DeclGrad, 0, 23));
  OSTREL_EXPECT_FORM(DeclMin, InRange(r.DeclMin, 0, 59));
  OSTREL_EXPECT_FORM(DeclSec, InRange(r.DeclSec, 0, 59));
  OSTREL_EXPECT_FORM(AltTrue, IsNumber(r.AltTrue, 3));
  OSTREL_EXPECT_FORM(ZenTrue, IsNumber(r.ZenTrue, 3) && r.ZenTrue[0] != '-');
  OSTREL_EXPECT_FORM(AzimTrue, r.AzimTrue == "- - - - - -" || IsNumber(r.AzimTrue, 3));
  OSTREL_EXPECT_FORM(AltApp, r.AltApp == "--------" || IsNumber(r.AltApp, 3));
  OSTREL_EXPECT_FORM(ZenApp, (r.ZenApp == "--------") == (r.AltApp == "--------") &&
                                 (r.ZenApp == "--------" || IsNumber(r.ZenApp, 3)));
  OSTREL_EXPECT_FORM(Airmass, r.Airmass == "--------------" || IsNumber(r.Airmass, 4));
  OSTREL_EXPECT_FORM(CulmHour, IsNumber(r.CulmHour, 0));
  OSTREL_EXPECT_FORM(CulmMin, InRange(r.CulmMin, 0, 59));
  OSTREL_EXPECT_FORM(EquMin, IsNumber(r.EquMin, 1) && std::fabs(std::stod(r.EquMin)) < 21);
  const bool polar = r.RiseHour == "--";
  for (const std::string *t : {&r.RiseMin, &r.SetHour, &r.SetMin, &r.RiseAzim, &r.SetAzim}) {
    if ((*t == "--") != polar) return fail("rise/set (all or none dashed)", *t);
  }
  if (polar) {
    OSTREL_EXPECT_FORM(DurHour, (r.DurHour == "--" && r.DurMin == "--") ||
                                    (r.DurHour == "24" && r.DurMin == "00"));
  } else {
    OSTREL_EXPECT_FORM(RiseHour, IsNumber(r.RiseHour, 0));
    OSTREL_EXPECT_FORM(RiseMin, InRange(r.RiseMin, 0, 59));
    OSTREL_EXPECT_FORM(SetHour, IsNumber(r.SetHour, 0));
    OSTREL_EXPECT_FORM(SetMin, InRange(r.SetMin, 0, 59));
    OSTREL_EXPECT_FORM(DurHour, InRange(r.DurHour, 0, 24));
    OSTREL_EXPECT_FORM(DurMin, InRange(r.DurMin, 0, 60));
    OSTREL_EXPECT_FORM(RiseAzim, IsNumber(r.RiseAzim, 1));
    OSTREL_EXPECT_FORM(SetAzim, IsNumber(r.SetAzim, 1));
  }
  OSTREL_EXPECT_FORM(AltMax, IsNumber(r.AltMax, 2) && std::fabs(std::stod(r.AltMax)) <= 90);
#undef OSTREL_EXPECT_FORM
  for (const auto &[name, text] : SunReport::Labels) {
    const std::string &t = r.*text;
    if (t.find("nan") != std::string::npos || t.find("inf") != std::string::npos)
      return fail(name, t);
  }
  return {};
}

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

// The corners: poles, polar circles, equator; the date line; the extreme
// time zones; midnight, a second after and before it; solstices, equinoxes
// and year ends of the first, last and a leap year.
TEST(Sweep, CornersOfTheDomain) {
  const double latitudes[] = {-90, -89.99, -66.56, -66.5, -45, 0, 23.44, 66.5, 66.56, 89.99, 90};
  const double longitudes[] = {-180, -97.5, 0, 97.5, 180};
  const float zones[] = {-12, -5.5f, 0, 3, 12};
  const int dates[][3] = {{1700, 1, 1},  {1700, 6, 21}, {1899, 12, 31}, {2000, 2, 29},
                          {2000, 3, 20}, {2011, 12, 22}, {2100, 12, 31}, {2100, 9, 23}};
  const double times[][3] = {{0, 0, 0}, {0, 0, 1}, {12, 0, 0}, {23, 59, 59}};
  int runs = 0;
  for (const auto &d : dates)
    for (double lat : latitudes)
      for (double lon : longitudes)
        for (float zone : zones)
          for (const auto &t : times)
            for (bool clock : {false, true}) {
              Ephemeris e;
              SetSite(e.state, lon / 15, lat * kRad, zone);
              e.state.AzimuthMode = std::array<std::int16_t, 3>{0, 180, -180}[runs % 3];
              const Moment m{double(d[0]), double(d[1]), double(d[2]), t[0], t[1], t[2]};
              clock ? SetClockMoment(e.state, m) : SetManualMoment(e.state, m);
              e.MAINCALC();
              ++runs;
              const std::string bad = CheckForms(e);
              ASSERT_EQ(bad, "") << d[0] << "-" << d[1] << "-" << d[2] << " " << t[0] << ":"
                                 << t[1] << ":" << t[2] << " lat " << lat << " lon " << lon
                                 << " zone " << zone << (clock ? " clock" : " typed");
            }
  EXPECT_EQ(runs, 8 * 11 * 5 * 5 * 4 * 2);
}

// Random sites and moments over the whole domain, reproducible by the seed.
TEST(Sweep, RandomSitesAndMoments) {
  std::mt19937_64 random(20261207);
  std::uniform_int_distribution<int> year(1700, 2100), month(1, 12), second(0, 86399);
  std::uniform_real_distribution<double> latitude(-90, 90), longitude(-180, 180);
  std::uniform_int_distribution<int> quarterHours(-48, 48), mode(0, 2);
  for (int run = 0; run < 60000; ++run) {
    Ephemeris e;
    const float zone = quarterHours(random) / 4.0f;
    SetSite(e.state, longitude(random) / 15, latitude(random) * kRad, zone);
    e.state.AzimuthMode = std::array<std::int16_t, 3>{0, 180, -180}[mode(random)];
    const int y = year(random), mo = month(random);
    const int day = std::uniform_int_distribution<int>(1, DaysInMonth(y, mo))(random);
    const int s = second(random);
    const Moment m{double(y), double(mo), double(day), double(s / 3600), double(s / 60 % 60),
                   double(s % 60)};
    run % 2 ? SetClockMoment(e.state, m) : SetManualMoment(e.state, m);
    e.MAINCALC();
    const std::string bad = CheckForms(e);
    ASSERT_EQ(bad, "") << y << "-" << mo << "-" << day << " second " << s << " lat "
                       << e.state.LatRad / kRad << " long h " << e.state.LongHours << " zone "
                       << zone;
  }
}

} // namespace
} // namespace ostrel::test
