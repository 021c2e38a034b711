// SPDX-License-Identifier: GPL-3.0-or-later
// The Moon in the day and year windows: the Moon's list against the U.S.
// Naval Observatory, the core and `ostrel-cli day --body moon`, its phase
// in both languages, the drawn phase, a tick that leaves the list alone,
// and the year chart's new and full moons against the Observatory's dates.

#include <QAbstractItemView>
#include <QAction>
#include <QDate>
#include <QPainterPath>
#include <QSignalSpy>

#include <nlohmann/json.hpp>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "app/chart.h"
#include "app/day_window.h"
#include "app/year_window.h"
#include "cli/commands.h"
#include "core/moon/moon_day.h"
#include "core/day/day_table.h"
#include "window_test_support.h"

namespace ostrel::testing {
namespace {

std::vector<Row> MoonRowsOf(const DayWindow &day) { return RowsOf(day, "MoonEvents"); }

Row MoonRowOf(const DayWindow &day, const std::string &key) {
  return RowOf(day, key, "MoonEvents");
}

// The window's reasons, by the command line's JSON key of the absence.
std::string WordsOf(const std::string &absentKey) {
  if (absentKey == "other_date") return "it falls on the day before or after";
  if (absentKey == "above") return "the Moon stays above the horizon all day";
  if (absentKey == "below") return "the Moon stays below the horizon all day";
  return "(unknown key " + absentKey + ")";
}

// The U.S. Naval Observatory's moonrise and moonset, UT (zone 0), as
// tests/core/moon_day_test.cpp holds them (astronomy-engine's
// generate/riseset/riseset.txt): -1 where the date has none, with the
// reason.  Allowed the table's rounding and the model's error, 60 s.
struct MoonCase {
  const char *what;
  Input typed;
  std::vector<std::string> words; // the same site and date on the command line
  int riseMinutes, setMinutes;    // UT, -1: none, -2: not in the table
  const char *riseWhy, *setWhy;   // the reason's key where there is none
};

Input At(const char *lat, const char *lon, int list1, const char *date) {
  const QDate d = QDate::fromString(QString::fromLatin1(date), Qt::ISODate);
  return {.longGrad = lon, .longMin = "0", .latGrad = lat, .latMin = "0", .timezon = "0",
          .list1 = list1, .day = QString::number(d.day()), .month = QString::number(d.month()),
          .year = QString::number(d.year())};
}

constexpr int HM(int h, int m) { return h * 60 + m; }

const MoonCase kMoonCases[] = {
    {"29 N 81 W, 2019-07-15", At("29", "81", 1, "2019-07-15"),
     {"--lat", "29:0N", "--lon", "81:0W", "--tz", "0", "--date", "2019-07-15"}, HM(23, 39),
     HM(9, 23), nullptr, nullptr},
    // Risen at 23:39 on the 15th, next at 00:28 on the 17th.
    {"29 N 81 W, 2019-07-16, no moonrise", At("29", "81", 1, "2019-07-16"),
     {"--lat", "29:0N", "--lon", "81:0W", "--tz", "0", "--date", "2019-07-16"}, -1, HM(10, 14),
     "other_date", nullptr},
    {"80 N 130 E, 2034-01-10", At("80", "130", 0, "2034-01-10"),
     {"--lat", "80:0N", "--lon", "130:0E", "--tz", "0", "--date", "2034-01-10"}, HM(14, 1),
     HM(2, 10), nullptr, nullptr},
    {"80 N 130 E, 2034-01-17, below all day", At("80", "130", 0, "2034-01-17"),
     {"--lat", "80:0N", "--lon", "130:0E", "--tz", "0", "--date", "2034-01-17"}, -1, -1,
     "below", "below"},
    {"80 N 130 E, 2034-02-01, above all day", At("80", "130", 0, "2034-02-01"),
     {"--lat", "80:0N", "--lon", "130:0E", "--tz", "0", "--date", "2034-02-01"}, -1, -1,
     "above", "above"},
    {"47 N 28:50 E, zone +3, 2011-06-21", {},
     {"--lat", "47:0N", "--lon", "28:50E", "--tz", "3", "--date", "2011-06-21"}, -2, -2, nullptr,
     nullptr},
};

nlohmann::json CliMoonDay(const std::vector<std::string> &site) {
  std::vector<std::string> words{"day"};
  words.insert(words.end(), site.begin(), site.end());
  words.insert(words.end(), {"--body", "moon", "--format", "json"});
  std::ostringstream out, err;
  EXPECT_EQ(cli::Run(words, out, err, {}), cli::kDone) << err.str();
  return nlohmann::json::parse(out.str());
}

int SecondsOf(const std::string &clock) {
  return std::stoi(clock.substr(0, 2)) * 3600 + std::stoi(clock.substr(3, 2)) * 60 +
         std::stoi(clock.substr(6, 2));
}

TEST(MoonList, RowsAgreeWithTheObservatoryTheCoreAndTheCommandLine) {
  for (const MoonCase &c : kMoonCases) {
    const auto window = MakeWindow();
    const DayWindow *day = DayOf(*window, c.typed);
    const std::vector<Row> rows = MoonRowsOf(*day);
    ASSERT_EQ(rows.size(), 4u) << c.what;
    const char *keys[] = {"moonrise", "moonset", "moon_transit", "moon_phase"};
    for (std::size_t i = 0; i < 4; ++i)
      EXPECT_EQ(rows[i].key, keys[i]) << c.what;

    // The core, for the site and date the main window computed.
    const CalcState &in = window->lastInput();
    const MoonDayEvents core = FindMoonDayEvents(
        MoonDay(Site{in.LatRad, in.LongHours, in.Timezon},
                CivilDate{int(in.DateYear), int(in.DateMonth), int(in.DateDay)}));
    const nlohmann::json cli = CliMoonDay(c.words);
    const struct {
      const char *row, *cliKey;
      const DayMoment &core;
      int observatoryMinutes;
      const char *why;
    } events[] = {{"moonrise", "moonrise", core.moonrise, c.riseMinutes, c.riseWhy},
                  {"moonset", "moonset", core.moonset, c.setMinutes, c.setWhy},
                  {"moon_transit", "transit", core.transit, -2, nullptr}};
    for (const auto &e : events) {
      const std::string what = std::string(c.what) + ", " + e.row;
      const std::string value = MoonRowOf(*day, e.row).value;
      const nlohmann::json &moment = cli["events"][e.cliKey];
      if (moment.is_null()) {
        const std::string key = cli["absent"][e.cliKey].get<std::string>();
        EXPECT_EQ(value, WordsOf(key)) << what;
        EXPECT_FALSE(e.core.happens()) << what;
        if (e.why) {
          EXPECT_EQ(key, e.why) << what;
        }
        continue;
      }
      ASSERT_GE(value.size(), 8u) << what << ": " << value;
      EXPECT_EQ(value.substr(0, 8), moment.get<std::string>().substr(11, 8)) << what;
      EXPECT_EQ(value.substr(0, 8), ClockText(e.core.seconds)) << what;
      EXPECT_EQ(e.why, nullptr) << what << ": the Observatory has none";
      if (e.observatoryMinutes >= 0) {
        EXPECT_NEAR(SecondsOf(value), e.observatoryMinutes * 60, 60) << what << ": " << value;
      }
    }
    const std::string transit = MoonRowOf(*day, "moon_transit").value;
    if (!cli["transit_altitude_deg"].is_null()) {
      ASSERT_GT(transit.size(), 10u) << c.what << ": " << transit;
      EXPECT_NEAR(std::stod(transit.substr(10)), cli["transit_altitude_deg"].get<double>(), 0.005)
          << c.what << ": " << transit;
    }
  }
}

// The phase at 12:00 UT near the Observatory's quarters of January 2020
// (tests/data/moon-quarters.csv): first quarter on the 3rd at 04:45, full
// moon on the 10th at 19:21, last quarter on the 17th at 12:58, new moon on
// the 24th at 21:42; a quarter's name holds within 12 hours of it.  A
// quarter's disc is half lit, give or take the Moon's latitude (a few per
// cent); a full or new one all or nothing, give or take the same.
TEST(MoonList, PhaseInBothLanguages) {
  const struct {
    const char *date;
    const char *english, *russian;
    int litLow, litHigh; // per cent
  } kPhases[] = {
      {"2020-01-03", "First quarter", "Первая четверть", 45, 58},
      {"2020-01-06", "Waxing gibbous", "Растущая луна", 60, 95},
      {"2020-01-10", "Full moon", "Полнолуние", 97, 100},
      {"2020-01-14", "Waning gibbous", "Убывающая луна", 60, 95},
      {"2020-01-17", "Last quarter", "Последняя четверть", 45, 55},
      {"2020-01-20", "Waning crescent", "Убывающий серп", 5, 40},
      {"2020-01-24", "New moon", "Новолуние", 0, 2},
  };
  for (const auto &p : kPhases) {
    const auto window = MakeWindow();
    DayWindow *day = DayOf(*window, At("29", "81", 1, p.date));
    for (const bool russian : {false, true}) {
      if (russian)
        window->me1_10_Click();
      else
        window->me1_9_Click();
      const Row row = MoonRowOf(*day, "moon_phase");
      const std::string what = std::string(p.date) + (russian ? ", Russian" : ", English");
      const std::string name = russian ? p.russian : p.english;
      ASSERT_EQ(row.value.rfind(name + ", ", 0), 0u) << what << ": " << row.value;
      const std::string rest = row.value.substr(name.size() + 2);
      const std::string lit = russian ? "освещено " : "";
      ASSERT_EQ(rest.rfind(lit, 0), 0u) << what << ": " << row.value;
      const int percent = std::stoi(rest.substr(lit.size()));
      EXPECT_GE(percent, p.litLow) << what << ": " << row.value;
      EXPECT_LE(percent, p.litHigh) << what << ": " << row.value;
      EXPECT_EQ(rest.back(), russian ? '%' : 't') << what << ": " << row.value;
      if (!russian) {
        EXPECT_EQ(rest.substr(rest.size() - 5), "% lit") << what;
      }
    }
  }
}

TEST(MoonList, CaptionsAndReasonsFollowTheLanguage) {
  const auto window = MakeWindow();
  DayWindow *day = DayOf(*window, kMoonCases[1].typed); // no moonrise
  const struct {
    const char *key, *english, *russian;
  } kCaptions[] = {{"moonrise", "Moonrise", "Восход Луны"},
                   {"moonset", "Moonset", "Заход Луны"},
                   {"moon_transit", "Moon's upper transit", "Верхняя кульминация Луны"},
                   {"moon_phase", "Moon's phase at 12:00", "Фаза Луны в 12:00"}};
  for (const bool russian : {true, false}) {
    if (russian)
      window->me1_10_Click();
    else
      window->me1_9_Click();
    for (const auto &c : kCaptions)
      EXPECT_EQ(MoonRowOf(*day, c.key).caption, russian ? c.russian : c.english) << c.key;
    EXPECT_EQ(MoonRowOf(*day, "moonrise").value,
              russian ? "приходится на день до или после" : "it falls on the day before or after");
    EXPECT_EQ(TextOf(*day, "MoonEventsCaption"), russian ? "Луна" : "The Moon");
  }
  const auto polar = MakeWindow();
  polar->me1_10_Click();
  DayWindow *below = DayOf(*polar, kMoonCases[3].typed);
  EXPECT_EQ(MoonRowOf(*below, "moonrise").value, "Луна весь день ниже горизонта");
  const auto above = MakeWindow();
  above->me1_10_Click();
  EXPECT_EQ(MoonRowOf(*DayOf(*above, kMoonCases[4].typed), "moonset").value,
            "Луна весь день выше горизонта");
}

// Within one date a tick moves the pictures' present marks and does not
// rebuild the Moon's list.
TEST(MoonList, ATickLeavesTheListAlone) {
  auto clock = std::make_shared<FakeClock>();
  clock->now = QDateTime(QDate(2011, 6, 21), QTime(9, 0, 0));
  const auto window = MakeWindow(clock);
  window->Timer1_Timer();
  Find<QAction>(*window, "me3_1")->trigger();
  DayWindow *day = Find<DayWindow>(*window, "frmDay");
  const std::vector<Row> before = MoonRowsOf(*day);
  ASSERT_EQ(before.size(), 4u);
  const QAbstractItemModel *model = Find<QAbstractItemView>(*day, "MoonEvents")->model();
  QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
  QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
  clock->now = QDateTime(QDate(2011, 6, 21), QTime(15, 0, 0));
  window->Timer1_Timer();
  EXPECT_EQ(changed.count(), 0);
  EXPECT_EQ(inserted.count(), 0);
  const std::vector<Row> after = MoonRowsOf(*day);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i)
    EXPECT_EQ(after[i].value, before[i].value) << after[i].key;
}

// The lit part of the drawn disc: its area is the lit fraction of the
// disc's, exactly for a terminator that is a half ellipse, and it lies
// towards the bright limb, north up and east left.
TEST(MoonPhasePicture, LitAreaAndSide) {
  const struct {
    double fraction, limbDeg;
    double towardsX, towardsY; // the lit part's side from the centre, screen axes
  } kLooks[] = {
      {0.0, 270, 0, 0},   {0.25, 270, 1, 0},   {0.5, 270, 1, 0}, {0.75, 90, -1, 0},
      {1.0, 90, 0, 0},    {0.3, 0, 0, -1},     {0.3, 180, 0, 1}, {0.6, 250, 0.94, 0.34},
  };
  const QPointF centre(100, 100);
  const double radius = 50;
  for (const auto &look : kLooks) {
    const QPainterPath lit = MoonLitPath(centre, radius, {look.fraction, look.limbDeg});
    int inside = 0, disc = 0;
    double sumX = 0, sumY = 0;
    for (double y = 50.25; y < 150; y += 0.5) {
      for (double x = 50.25; x < 150; x += 0.5) {
        if (std::hypot(x - 100, y - 100) > radius)
          continue;
        ++disc;
        if (lit.contains(QPointF(x, y))) {
          ++inside;
          sumX += x - 100;
          sumY += y - 100;
        }
      }
    }
    const std::string what = std::to_string(look.fraction) + " lit, limb " + std::to_string(look.limbDeg);
    EXPECT_NEAR(double(inside) / disc, look.fraction, 0.01) << what;
    if (inside > 0 && look.fraction < 1) {
      const double length = std::hypot(sumX, sumY);
      EXPECT_NEAR(sumX / length, look.towardsX, 0.02) << what;
      EXPECT_NEAR(sumY / length, look.towardsY, 0.02) << what;
    }
  }
}

// The Observatory's new and full moons of 2020, UT to the minute
// (tests/data/moon-quarters.csv), placed on the local dates of zones +3
// and -5 by hand: the full moon of 1 October 21:05 UT falls on 2 October
// at +3, the new moon of 24 January 21:42 UT on the 25th; at -5 the full
// moon of 8 April 02:35 UT falls on the 7th.  2020 has 13 full moons (two
// in October) and 12 new moons.
TEST(YearChartMoons, NewAndFullMoonsOnTheirLocalDates) {
  const struct {
    const char *zone;
    Input typed;
    std::vector<const char *> full, fresh; // MM-DD
  } kYears[] = {
      {"+3",
       {.day = "3", .month = "2", .year = "2020"},
       {"01-10", "02-09", "03-09", "04-08", "05-07", "06-05", "07-05", "08-03", "09-02", "10-02",
        "10-31", "11-30", "12-30"},
       {"01-25", "02-23", "03-24", "04-23", "05-22", "06-21", "07-20", "08-19", "09-17", "10-16",
        "11-15", "12-14"}},
      {"-5",
       {.longGrad = "81", .longMin = "0", .latGrad = "29", .latMin = "0", .timezon = "-5",
        .list1 = 1, .day = "3", .month = "2", .year = "2020"},
       {"01-10", "02-09", "03-09", "04-07", "05-07", "06-05", "07-04", "08-03", "09-02", "10-01",
        "10-31", "11-30", "12-29"},
       {"01-24", "02-23", "03-24", "04-22", "05-22", "06-21", "07-20", "08-18", "09-17", "10-16",
        "11-15", "12-14"}},
  };
  for (const auto &y : kYears) {
    auto window = MakeWindow();
    SelectManual(*window);
    Fill(*window, y.typed);
    ASSERT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
    window->me3_2_Click();
    const auto *chart = Find<YearChart>(*Find<YearWindow>(*window, "frmYear"), "YearChart");
    std::vector<int> full, fresh;
    for (const YearChart::MoonMark &mark : chart->moonMarks())
      (mark.full ? full : fresh).push_back(mark.dayIndex);
    const auto indices = [](const std::vector<const char *> &dates) {
      std::vector<int> days;
      for (const char *d : dates)
        days.push_back(QDate::fromString(QStringLiteral("2020-") + QLatin1String(d), Qt::ISODate)
                           .dayOfYear() - 1);
      return days;
    };
    EXPECT_EQ(full.size(), 13u) << y.zone;
    EXPECT_EQ(fresh.size(), 12u) << y.zone;
    EXPECT_EQ(full, indices(y.full)) << y.zone;
    EXPECT_EQ(fresh, indices(y.fresh)) << y.zone;
  }
}

// The discs are drawn where the chart says: light for a full moon, dark
// for a new one.
TEST(YearChartMoons, DiscsAreDrawn) {
  auto window = MakeWindow();
  SelectManual(*window);
  Fill(*window, {.day = "3", .month = "2", .year = "2020"});
  ASSERT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
  window->me3_2_Click();
  auto *chart = Find<YearChart>(*Find<YearWindow>(*window, "frmYear"), "YearChart");
  const QImage image = chart->grab().toImage();
  ASSERT_FALSE(chart->moonMarks().empty());
  for (const YearChart::MoonMark &mark : chart->moonMarks()) {
    const QColor at = image.pixelColor(chart->MoonMarkPoint(mark.dayIndex).toPoint());
    EXPECT_EQ(at.lightness() > 200, mark.full) << "day " << mark.dayIndex << ": " << at.name().toStdString();
    EXPECT_EQ(at.lightness() < 60, !mark.full) << "day " << mark.dayIndex << ": " << at.name().toStdString();
  }
}

} // namespace
} // namespace ostrel::testing
