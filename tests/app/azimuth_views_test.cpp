// SPDX-License-Identifier: GPL-3.0-or-later
// The Sun at an azimuth in the day window: DayAzimuth's rows against the
// core, `ostrel-cli day --azimuth` and the altitudes a person finds from
// the site's latitude and the solstice's declination, in both languages;
// the default list unchanged; the marks and the shadow on SunPath.

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>

#include <nlohmann/json.hpp>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "app/day_window.h"
#include "app/sun_path_chart.h"
#include "cli/commands.h"
#include "core/day/azimuth_crossings.h"
#include "core/day/day_table.h"
#include "core/sun/shadow.h"
#include "core/text/numtext.h"
#include "window_test_support.h"

namespace ostrel::testing {
namespace {

std::vector<Row> AzimuthRowsOf(const DayWindow &day) {
  std::vector<Row> rows;
  for (const Row &row : RowsOf(day))
    if (row.key == "azimuth_crossing")
      rows.push_back(row);
  return rows;
}

// The core's day for the site and date the main window last computed.
ClassicSunDay CoreDay(const MainWindow &window) {
  const CalcState &in = window.lastInput();
  return ClassicSunDay(Site{in.LatRad, in.LongHours, in.Timezon},
                       CivilDate{int(in.DateYear), int(in.DateMonth), int(in.DateDay)});
}

nlohmann::json CliAzimuth(const std::vector<std::string> &site, const std::string &azimuth) {
  std::vector<std::string> words{"day"};
  words.insert(words.end(), site.begin(), site.end());
  words.insert(words.end(), {"--azimuth", azimuth, "--format", "json"});
  std::ostringstream out, err;
  EXPECT_EQ(cli::Run(words, out, err, {}), cli::kDone) << err.str();
  return nlohmann::json::parse(out.str()).at("azimuths").at(0);
}

// The expected altitudes solve, for the Sun's declination d = +23.44
// degrees on the June solstice, latitude p and azimuth A from north,
//   sin d = sin p sin h + cos p cos A cos h
// for the altitudes h between -90 and +90 (one per passage).  At 47 N the
// Sun is due east at asin(sin d / sin p) = 32.94 and culminates due south
// at 90 - p + d = 66.44.  At 20 N it culminates north of the zenith: it
// never stands due south, and it passes 70 degrees (short of its greatest
// elongation, asin(cos d / cos p) = 77.5) twice, at 14.71 and 78.85.
// Allowed: the declination's change over the day and the rounding, 0.1.
struct AzimuthCase {
  const char *what;
  Input typed;
  std::vector<std::string> words; // the same site and date on the command line
  double azimuthDeg;
  const char *caption;            // English, as the row names the azimuth
  std::vector<double> altitudes;  // of the passages in time order
};

const Input k47North{.day = "21", .month = "6", .year = "2026"};
const Input k20North{.longGrad = "0", .longMin = "0", .latGrad = "20", .latMin = "0",
                     .timezon = "0", .day = "21", .month = "6", .year = "2026"};
const std::vector<std::string> k47NorthWords{"--lat", "47:0N", "--lon", "28:50E", "--tz", "3",
                                             "--date", "2026-06-21"};
const std::vector<std::string> k20NorthWords{"--lat", "20:0N", "--lon", "0:0E", "--tz", "0",
                                             "--date", "2026-06-21"};

const AzimuthCase kCases[] = {
    {"47 N, due east", k47North, k47NorthWords, 90, "Sun at azimuth 90°", {32.94}},
    {"47 N, due south", k47North, k47NorthWords, 180, "Sun at azimuth 180°", {66.44}},
    {"20 N, 70 twice", k20North, k20NorthWords, 70, "Sun at azimuth 70°", {14.71, 78.85}},
    {"20 N, never due south", k20North, k20NorthWords, 180, "Sun at azimuth 180°", {}},
};

std::string Fixed2(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

TEST(DayWindowAzimuth, RowsAgreeWithTheCoreTheCommandLineAndTheSphere) {
  for (const AzimuthCase &c : kCases) {
    const auto window = MakeWindow();
    DayWindow *day = DayOf(*window, c.typed);
    Find<QDoubleSpinBox>(*day, "DayAzimuth")->setValue(c.azimuthDeg);
    const std::vector<Row> rows = AzimuthRowsOf(*day);
    const AzimuthCrossings core = FindAzimuthCrossings(CoreDay(*window), c.azimuthDeg);
    const nlohmann::json cli = CliAzimuth(c.words, NumText(c.azimuthDeg));
    ASSERT_EQ(core.passages.size(), c.altitudes.size()) << c.what;
    ASSERT_EQ(cli.at("moments").size(), c.altitudes.size()) << c.what;
    if (c.altitudes.empty()) {
      ASSERT_EQ(rows.size(), 1u) << c.what;
      EXPECT_EQ(rows[0].caption, c.caption) << c.what;
      EXPECT_EQ(rows[0].value, "the Sun does not pass it on this date") << c.what;
      continue;
    }
    ASSERT_EQ(rows.size(), c.altitudes.size()) << c.what;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const std::string what = std::string(c.what) + ", passage " + std::to_string(i + 1);
      EXPECT_EQ(rows[i].caption, c.caption) << what;
      const AzimuthPassage &passage = core.passages[i];
      EXPECT_EQ(rows[i].value, ClockText(passage.seconds) + "  altitude " +
                                   Fixed2(passage.altitudeDeg) + "°")
          << what;
      // "2026-06-21T08:41:43+03:00": the time of day.
      EXPECT_EQ(rows[i].value.substr(0, 8),
                cli.at("moments").at(i).get<std::string>().substr(11, 8))
          << what;
      EXPECT_EQ(rows[i].value.substr(10),
                "altitude " + Fixed2(cli.at("altitudes_deg").at(i).get<double>()) + "°")
          << what;
      const double shown = std::stod(rows[i].value.substr(19));
      EXPECT_NEAR(shown, c.altitudes[i], 0.1) << what << ": " << rows[i].value;
    }
  }
}

bool IsCyrillic(const std::string &text) {
  const QString wide = QString::fromStdString(text);
  for (const QChar ch : wide)
    if (ch.unicode() >= 0x0400 && ch.unicode() <= 0x04FF)
      return true;
  return false;
}

// The caption and both kinds of row in each language, and back.
TEST(DayWindowAzimuth, FollowsTheLanguage) {
  const struct {
    const char *what;
    const AzimuthCase &c;
    const char *english, *russian; // the value's words after the time
  } kinds[] = {{"a passage", kCases[0], "altitude ", "высота "},
               {"no passage", kCases[3], "the Sun does not pass it on this date",
                "Солнце не проходит его в эту дату"}};
  for (const auto &kind : kinds) {
    const auto window = MakeWindow();
    DayWindow *day = DayOf(*window, kind.c.typed);
    Find<QDoubleSpinBox>(*day, "DayAzimuth")->setValue(kind.c.azimuthDeg);
    const struct {
      void (MainWindow::*choose)();
      const char *caption, *row, *words;
    } languages[] = {
        {&MainWindow::me1_10_Click, "Солнце на азимуте", "Солнце на азимуте ", kind.russian},
        {&MainWindow::me1_9_Click, "Sun at azimuth", "Sun at azimuth ", kind.english},
    };
    for (const auto &language : languages) {
      (window.get()->*language.choose)();
      EXPECT_EQ(TextOf(*day, "DayAzimuthCaption").toStdString(), language.caption) << kind.what;
      const std::vector<Row> rows = AzimuthRowsOf(*day);
      ASSERT_FALSE(rows.empty()) << kind.what;
      EXPECT_EQ(rows[0].caption.rfind(language.row, 0), 0u) << kind.what << ": " << rows[0].caption;
      EXPECT_NE(rows[0].value.find(language.words), std::string::npos)
          << kind.what << ": " << rows[0].value;
      EXPECT_EQ(IsCyrillic(rows[0].value), IsCyrillic(language.words)) << kind.what;
    }
  }
}

// The box starts off: the list has its rows as before (the 17 events, the
// day's length and the altitude's two), and turning it off again restores
// them.
TEST(DayWindowAzimuth, OffByDefaultAndAgain) {
  const auto window = MakeWindow();
  DayWindow *day = DayOf(*window, k47North);
  auto *box = Find<QDoubleSpinBox>(*day, "DayAzimuth");
  const std::size_t before = RowsOf(*day).size();
  EXPECT_EQ(before, 17u + 3u);
  EXPECT_EQ(box->text().toStdString(), "—");
  EXPECT_TRUE(AzimuthRowsOf(*day).empty());
  EXPECT_FALSE(day->azimuthCrossings());
  EXPECT_FALSE(Find<SunPathChart>(*day, "SunPath")->azimuth());
  const struct {
    double value;
    std::size_t rows;
  } steps[] = {{90, before + 1}, {box->minimum(), before}, {0, before + 1}, {360, before + 1}};
  for (const auto &step : steps) {
    box->setValue(step.value);
    EXPECT_EQ(RowsOf(*day).size(), step.rows) << step.value;
    EXPECT_EQ(RowsOf(*day).back().key == "azimuth_crossing", step.rows > before) << step.value;
  }
  EXPECT_EQ(box->maximum(), 360);
  EXPECT_EQ(box->decimals(), Find<QDoubleSpinBox>(*day, "DayAltitude")->decimals());
  EXPECT_EQ(box->singleStep(), Find<QDoubleSpinBox>(*day, "DayAltitude")->singleStep());
}

// The chart holds the asked azimuth and the passages at their altitudes,
// and draws them; a new date moves them.
TEST(DayWindowAzimuth, ChartMarksThePassages) {
  for (const AzimuthCase &c : kCases) {
    const auto window = MakeWindow();
    DayWindow *day = DayOf(*window, c.typed);
    auto *sky = Find<SunPathChart>(*day, "SunPath");
    const QImage before = sky->grab().toImage();
    Find<QDoubleSpinBox>(*day, "DayAzimuth")->setValue(c.azimuthDeg);
    ASSERT_TRUE(sky->azimuth()) << c.what;
    EXPECT_EQ(*sky->azimuth(), c.azimuthDeg) << c.what;
    ASSERT_EQ(sky->azimuthPassages().size(), c.altitudes.size()) << c.what;
    for (std::size_t i = 0; i < c.altitudes.size(); ++i) {
      EXPECT_NEAR(sky->azimuthPassages()[i].altitudeDeg, c.altitudes[i], 0.1) << c.what;
      EXPECT_EQ(sky->azimuthPassages()[i].azimuthDeg, c.azimuthDeg) << c.what;
    }
    EXPECT_NE(sky->grab().toImage(), before) << c.what << ": the line is drawn";
  }
}

// In tracking the shadow points away from the Sun, 1 / tan h long (h the
// apparent altitude; refraction changes it by less than 0.01 with the Sun
// above 20 degrees); at night there is none.
TEST(DayWindowAzimuth, ShadowInTracking) {
  const struct {
    const char *what;
    QTime time;
    bool shadow;
  } moments[] = {{"morning", QTime(8, 0), true},
                 {"afternoon", QTime(16, 30), true},
                 {"night", QTime(23, 30), false}};
  for (const auto &m : moments) {
    auto clock = std::make_shared<FakeClock>();
    clock->now = QDateTime(QDate(2026, 6, 21), m.time);
    const auto window = MakeWindow(clock);
    window->Timer1_Timer();
    Find<QAction>(*window, "me3_1")->trigger();
    DayWindow *day = Find<DayWindow>(*window, "frmDay");
    auto *sky = Find<SunPathChart>(*day, "SunPath");
    EXPECT_EQ(bool(sky->shadow()), m.shadow) << m.what;
    if (!sky->shadow())
      continue;
    const double hours = m.time.hour() + m.time.minute() / 60.0;
    const SunPlace place = CoreDay(*window).PlaceAt(hours);
    const std::optional<Shadow> core = ShadowOf(ApparentAltitude(place.altitudeDeg), place.azimuthDeg);
    ASSERT_TRUE(core) << m.what;
    EXPECT_NEAR(sky->shadow()->ratio, core->ratio, 1e-3) << m.what;
    EXPECT_NEAR(std::remainder(sky->shadow()->azimuthDeg - place.azimuthDeg - 180, 360), 0, 1e-3)
        << m.what;
    EXPECT_NEAR(sky->shadow()->ratio, 1 / std::tan(place.altitudeDeg * std::numbers::pi / 180), 0.01)
        << m.what;
  }
}

} // namespace
} // namespace ostrel::testing
