// SPDX-License-Identifier: GPL-3.0-or-later
// "Calculate": every read, write-back, check, correction and message in its
// order, and the site and moment handed to the calculation.

#include <QLocale>

#include "window_test_support.h"

namespace ostrel::testing {
namespace {

const QString kTimezone = "Uncorrect input Timezone!";
const QString kLongitude = "Uncorrect input Longitude!";
const QString kLatitude = "Uncorrect input Latitude!";
const QString kYear = "Uncorrect input Year!";

struct PressCase {
  const char *what;
  Input input;
  QString message; // empty: accepted and computed
  std::vector<std::pair<const char *, QString>> fieldsAfter;
};
void PrintTo(const PressCase &press, std::ostream *out) { *out << press.what; }

const PressCase kPresses[] = {
    // Bounds are inclusive; single-precision minutes meet the float 59.99.
    {"time zone -12", {.timezon = "-12"}, "", {}},
    {"time zone -12.5", {.timezon = "-12.5"}, kTimezone, {}},
    {"time zone 14", {.timezon = "14"}, "", {}},
    {"time zone 14.5", {.timezon = "14.5"}, kTimezone, {}},
    {"time zone of letters", {.timezon = "abc"}, "", {{"Timezon", "0"}}},
    {"minutes 59.99 and 59.995", {.longMin = "59.99", .latMin = "59.995"}, kLatitude,
     {{"LongMin", "59.99"}}},
    {"latitude minutes -0.5", {.latMin = "-0.5"}, kLatitude, {{"LatMin", "-0.5"}}},
    {"180 0 west", {.longGrad = "180", .longMin = "0", .list1 = 1}, "", {}},
    {"180 1 east", {.longGrad = "180", .longMin = "1"}, kLongitude, {}},
    {"90 0.01 north", {.latGrad = "90", .latMin = "0.01"}, kLatitude, {}},
    {"23:59:59", {.hour = "23", .minute = "59", .second = "59"}, "", {}},
    {"hour 24", {.hour = "24"}, "Uncorrect input Hours!", {}},
    {"minute 60", {.minute = "60"}, "Uncorrect input Minutes!", {}},
    {"second -1", {.second = "-1"}, "Uncorrect input Seconds!", {}},
    {"day 0", {.day = "0"}, "Uncorrect input Day!", {}},
    {"day 31 of month 13", {.day = "31", .month = "13"}, "Uncorrect input Month!", {}},
    // Month lengths are corrected without a message, before the year check.
    {"31 April", {.day = "31", .month = "4"}, "", {{"DateDay", "30"}}},
    {"30 February 2012", {.day = "30", .month = "2", .year = "2012"}, "", {{"DateDay", "29"}}},
    {"29 February 1900", {.day = "29", .month = "2", .year = "1900"}, "", {{"DateDay", "28"}}},
    {"29 February 2000", {.day = "29", .month = "2", .year = "2000"}, "", {{"DateDay", "29"}}},
    {"31 February 2100", {.day = "31", .month = "2", .year = "2100"}, "", {{"DateDay", "28"}}},
    {"31 April 2200", {.day = "31", .month = "4", .year = "2200"}, kYear, {{"DateDay", "30"}}},
    {"year 1699", {.year = "1699"}, kYear, {}},
    {"year beyond 16 bits", {.year = "1e6"}, kYear, {{"DateYear", "1000000"}}},
    // Normal form written back with "."; an empty field reads 0.
    {"write-back",
     {.longGrad = "028", .longMin = "50,5", .latMin = "00", .timezon = "5.50", .day = " 2 1",
      .hour = "12abc", .minute = "1 5", .second = ""},
     "",
     {{"LongGrad", "28"}, {"LongMin", "50"}, {"LatMin", "0"}, {"Timezon", "5.5"},
      {"DateDay", "21"}, {"TimeHour", "12"}, {"TimeMin", "15"}, {"TimeSec", "0"}}},
    // The first bad value only; the site before the moment is read; all
    // six moment fields rewritten before any is checked.
    {"bad zone and hour", {.timezon = "15", .hour = "024"}, kTimezone, {{"TimeHour", "024"}}},
    {"bad hour and day", {.day = "05", .hour = "24"}, "Uncorrect input Hours!", {{"DateDay", "5"}}},
    // Mended: values their precision cannot hold are refused with their
    // field's message and never shown or computed as inf or nan.
    {"1e40 single minutes", {.latMin = "1e40"}, kLatitude, {}},
    {"1e40 single time zone", {.timezon = "1e40"}, kTimezone, {}},
    {"1e400 longitude degrees", {.longGrad = "1e400"}, kLongitude, {{"LongGrad", "1e400"}}},
    {"1e400 second", {.second = "1e400"}, "Uncorrect input Seconds!", {}},
    {"1e400 year", {.year = "1e400"}, kYear, {}},
};

class Press : public ::testing::TestWithParam<PressCase> {};

TEST_P(Press, RefusesTheFirstBadValueOrComputes) {
  const PressCase &press = GetParam();
  const auto window = MakeWindow();
  SelectManual(*window);
  Fill(*window, press.input);
  const QStringList before = ResultTexts(*window);
  const QStringList shown = RunClosingMessages([&] { window->Command2_Click(); });
  if (press.message.isEmpty()) {
    EXPECT_TRUE(shown.isEmpty()) << shown.join(", ").toStdString();
    EXPECT_NE(ResultTexts(*window), before);
  } else {
    EXPECT_EQ(shown, QStringList{press.message});
    EXPECT_EQ(ResultTexts(*window), before) << "a refused press changed a result";
  }
  for (const auto &[name, text] : press.fieldsAfter)
    EXPECT_EQ(TextOf(*window, name), text) << name;
  for (const char *name : {"LongGrad", "LatGrad", "LatMin", "Timezon", "TimeSec", "DateYear"})
    EXPECT_FALSE(TextOf(*window, name).contains("inf", Qt::CaseInsensitive)) << name;
}

INSTANTIATE_TEST_SUITE_P(Calculate, Press, ::testing::ValuesIn(kPresses), [](const auto &info) {
  std::string name = info.param.what;
  for (char &c : name)
    c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
});

TEST(Calculate, HandsTheSiteAndMomentToTheCalculation) {
  const double rad = 3.1415926535 / 180;
  const std::tuple<const char *, Input, double, double, double, double> rows[] = {
      // what, input, LongHours, LatRad, UtHours, DayUt
      {"01:30 in zone 3 is 22:30 UT the day before",
       {.day = "22", .hour = "1", .minute = "30"}, (50.0 / 60 + 28) / 15, 47 * rad, -1.5,
       22 - 0.0625},
      {"west, south, zone -5",
       {.longGrad = "75", .longMin = "30", .timezon = "-5", .list1 = 1, .list2 = 1, .hour = "19"},
       -75.5 / 15, -47 * rad, 24, 22},
      {"-10 degrees 30 minutes north is 9.5 south, fractions pass",
       {.latGrad = "-10", .latMin = "30", .timezon = "0", .hour = "12.25", .minute = "30.5"},
       (50.0 / 60 + 28) / 15, -9.5 * rad, 12.25 + 30.5 / 60, 21 + (12.25 + 30.5 / 60) / 24},
  };
  for (const auto &[what, input, longHours, latRad, utHours, dayUt] : rows) {
    SCOPED_TRACE(what);
    const auto window = MakeWindow();
    SelectManual(*window);
    Fill(*window, input);
    ASSERT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
    const CalcState &state = window->lastInput();
    EXPECT_NEAR(state.LongHours, longHours, 1e-12);
    EXPECT_NEAR(state.LatRad, latRad, 1e-12);
    EXPECT_NEAR(state.UtHours, utHours, 1e-12);
    EXPECT_NEAR(state.DayUt, dayUt, 1e-12);
    EXPECT_EQ(state.DayBoundary, 0.5 - double(state.Timezon) / 24);
  }
}

// 1 January 2000, 12:00 UT at longitude 0, the worked example of the
// calendar and the orbit: MJD 51544.5, sidereal time 18 41 50, the Sun at
// 280.393 degrees and 0.98330335 AU (147100086 km), declination -23 1 56.
TEST(ResultDisplay, LabelsShowTheRunWithTheRegionalSeparator) {
  const std::pair<QLocale, QStringList> rows[] = {
      {QLocale(QLocale::English, QLocale::UnitedStates), {"51544.5", "280.393", "0.98330335"}},
      {QLocale(QLocale::German, QLocale::Germany), {"51544,5", "280,393", "0,98330335"}}};
  for (const auto &[locale, texts] : rows) {
    QLocale::setDefault(locale);
    const auto window = MakeWindow();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    SelectManual(*window);
    Fill(*window, {.longGrad = "0", .longMin = "0", .latMin = "50.50", .timezon = "0",
                   .day = "1", .month = "1", .year = "2000"});
    ASSERT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
    EXPECT_EQ(QStringList({TextOf(*window, "JulianDate"), TextOf(*window, "LongSun"),
                           TextOf(*window, "DistAU")}), texts);
    const std::pair<const char *, QString> same[] = {
        {"Distkm", "147100086"}, {"SidHour", "18"}, {"SidMin", "41"}, {"SidSec", "50"},
        {"Label33", "-"},        {"DeclGrad", "23"}, {"DeclMin", "1"}, {"DeclSec", "56"},
        {"LatMin", "50.5"}}; // input fields always use "."
    for (const auto &[name, text] : same)
      EXPECT_EQ(TextOf(*window, name), text) << name;
    for (const auto &[name, text] : SunReport::Labels)
      EXPECT_EQ(TextOf(*window, name).toStdString(), window->ephemeris().report.*text);
  }
}

} // namespace
} // namespace ostrel::testing
