// SPDX-License-Identifier: GPL-3.0-or-later
// The two records of the solar ephemeris: the state one calculation works in
// (CalcState), and the texts it hands to the result labels (SunReport).
//
// Precision follows the program's data model: "double" fields are IEEE
// binary64, "single" fields IEEE binary32 (float) and "integer" fields signed
// 16-bit.  A single field is stored as float and every later step reads the
// stored value, which shows in the last digits of some results.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

namespace ostrel {

// Pi with the ten decimals the computation is defined with (IEEE bits
// 400921FB54411744), not the full-precision constant, and the
// degrees-to-radians factor derived from it.
inline constexpr double kPi = 3.1415926535;
inline constexpr double kRad = kPi / 180;

// Degrees added to an azimuth counted from north through east.
inline constexpr std::int16_t FromNorth = 0;
inline constexpr std::int16_t FromSouth = 180;
inline constexpr std::int16_t FromSouthSigned = -180;

// The calculation state of the main window.  Angles in degrees unless a name
// says Rad; times of day and sidereal times in hours.
struct CalcState {
  // Site and moment, written by the caller before each run.
  double LongHours = 0;   // longitude, hours east of Greenwich
  double LatRad = 0;      // latitude, radians, north positive
  float Timezon = 0;      // hours
  double DayBoundary = 0; // 0.5 - Timezon / 24
  double UtHours = 0;     // UT from 0 h UT of the local civil date, -12 to 36
  double DayUt = 0;       // DateDay + UtHours / 24
  double DateYear = 0;
  double DateMonth = 0;
  double DateDay = 0;

  // Constants and settings.
  double Pi = kPi;
  double Rad = kRad;
  std::int16_t AzimuthMode = FromNorth;

  // Calendar and sidereal time.
  double JulDay = 0;   // Julian date of the moment minus 2400000
  double JulDay0 = 0;  // Julian date of 0 h UT of the local date minus 2400000
  double T1900 = 0;    // Julian centuries from JD 2415020.0 to JulDay0
  double Gmst0 = 0;    // Greenwich sidereal time at 0 h UT, not reduced
  double Lst = 0;      // local sidereal time, 0 to 24

  // Orbit and equatorial coordinates.
  double SunLong = 0;     // ecliptic longitude, 0 to 360
  double RadiusAU = 0;    // Earth-Sun distance, astronomical units
  double DiamArcmin = 0;  // angular diameter, minutes of arc
  double Obliquity = 0;
  double Decl = 0;
  double AtnY = 0;        // numerator and denominator handed to UnAtn
  double AtnX = 0;
  double QuadOffset = 0;  // 0, 180 or 360
  double RAHours = 0;

  // Horizon, refraction and airmass.
  double AltDeg = 0;      // true altitude
  double ZenDeg = 0;      // true zenith angle
  double Azim = 0;        // in the AzimuthMode convention
  double RefrArcsec = 0;  // refraction, seconds of arc
  double ZenAppDeg = 0;   // apparent zenith angle
  double AltAppDeg = 0;   // apparent altitude

  // Culmination, rise and set.
  float AtHour = 0;       // UT hour evaluated by SunAtTime
  double AtLst = 0;       // local sidereal time at AtHour, 0 to 24
  double AtDeclRad = 0;   // declination at AtHour, radians
  double AtRAHours = 0;   // right ascension at AtHour, 0 to 24
  double CulmTime = 0;    // local civil time of upper culmination, not reduced
  float CulmDecl = 0;     // declination at local mean noon
  double EquationOfTime = 0; // hours: the hour angle at local mean noon
};

// One text per result label, named after the label (UTF-8).
struct SunReport {
  std::string JulianDate, DOY, SidHour, SidMin, SidSec;
  std::string LongSun, DistAU, Distkm, DiamMin, DiamSec;
  std::string RAHour, RAMin, RASec, Label33, DeclGrad, DeclMin, DeclSec;
  std::string AltTrue, ZenTrue, AzimTrue, AltApp, ZenApp, Airmass;
  std::string CulmHour, CulmMin, EquMin, RiseHour, RiseMin, SetHour, SetMin,
      RiseAzim, SetAzim, DurHour, DurMin;
  std::string AltMax;

  using Text = std::string SunReport::*;
  // Every text with the name of its label, in the order a run forms them.
  static constexpr std::array<std::pair<const char *, Text>, 35> Labels{{
      {"DOY", &SunReport::DOY},
      {"JulianDate", &SunReport::JulianDate},
      {"SidHour", &SunReport::SidHour},
      {"SidMin", &SunReport::SidMin},
      {"SidSec", &SunReport::SidSec},
      {"LongSun", &SunReport::LongSun},
      {"DistAU", &SunReport::DistAU},
      {"Distkm", &SunReport::Distkm},
      {"DiamMin", &SunReport::DiamMin},
      {"DiamSec", &SunReport::DiamSec},
      {"RAHour", &SunReport::RAHour},
      {"RAMin", &SunReport::RAMin},
      {"RASec", &SunReport::RASec},
      {"Label33", &SunReport::Label33},
      {"DeclGrad", &SunReport::DeclGrad},
      {"DeclMin", &SunReport::DeclMin},
      {"DeclSec", &SunReport::DeclSec},
      {"AltTrue", &SunReport::AltTrue},
      {"ZenTrue", &SunReport::ZenTrue},
      {"AzimTrue", &SunReport::AzimTrue},
      {"AltApp", &SunReport::AltApp},
      {"ZenApp", &SunReport::ZenApp},
      {"Airmass", &SunReport::Airmass},
      {"CulmHour", &SunReport::CulmHour},
      {"CulmMin", &SunReport::CulmMin},
      {"EquMin", &SunReport::EquMin},
      {"DurHour", &SunReport::DurHour},
      {"DurMin", &SunReport::DurMin},
      {"RiseHour", &SunReport::RiseHour},
      {"RiseMin", &SunReport::RiseMin},
      {"SetHour", &SunReport::SetHour},
      {"SetMin", &SunReport::SetMin},
      {"RiseAzim", &SunReport::RiseAzim},
      {"SetAzim", &SunReport::SetAzim},
      {"AltMax", &SunReport::AltMax},
  }};
};

} // namespace ostrel
