// SPDX-License-Identifier: GPL-3.0-or-later
// The day window: opened from the View menu, the core's events of the main
// window's site and date in the list, following each calculation and tick,
// the chosen altitude, the pictures and their saving, and the language.

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cmath>
#include <string>
#include <vector>

#include "app/day_window.h"
#include "app/sun_path_chart.h"
#include "core/day/day_table.h"
#include "window_test_support.h"

namespace ostrel::testing {
namespace {

// The core's day for the site and date the main window last computed.
ClassicSunDay CoreDay(const MainWindow &window) {
  const CalcState &in = window.lastInput();
  return ClassicSunDay(Site{in.LatRad, in.LongHours, in.Timezon},
                       CivilDate{int(in.DateYear), int(in.DateMonth), int(in.DateDay)});
}

// The list's events in the order of the day, with the core's moment of each.
using Moment = DayMoment (*)(const DayEvents &);
const std::pair<const char *, Moment> kEvents[] = {
    {"astronomical_dawn", [](const DayEvents &e) { return e.astronomicalDawn; }},
    {"nautical_dawn", [](const DayEvents &e) { return e.nauticalDawn; }},
    {"civil_dawn", [](const DayEvents &e) { return e.civilDawn; }},
    {"morning_blue_hour_start", [](const DayEvents &e) { return e.morningBlueHour[0]; }},
    {"morning_blue_hour_end", [](const DayEvents &e) { return e.morningBlueHour[1]; }},
    {"morning_golden_hour_start", [](const DayEvents &e) { return e.morningGoldenHour[0]; }},
    {"sunrise", [](const DayEvents &e) { return e.sunrise; }},
    {"morning_golden_hour_end", [](const DayEvents &e) { return e.morningGoldenHour[1]; }},
    {"culmination", [](const DayEvents &e) { return e.culmination; }},
    {"evening_golden_hour_start", [](const DayEvents &e) { return e.eveningGoldenHour[0]; }},
    {"sunset", [](const DayEvents &e) { return e.sunset; }},
    {"evening_golden_hour_end", [](const DayEvents &e) { return e.eveningGoldenHour[1]; }},
    {"evening_blue_hour_start", [](const DayEvents &e) { return e.eveningBlueHour[0]; }},
    {"evening_blue_hour_end", [](const DayEvents &e) { return e.eveningBlueHour[1]; }},
    {"civil_dusk", [](const DayEvents &e) { return e.civilDusk; }},
    {"nautical_dusk", [](const DayEvents &e) { return e.nauticalDusk; }},
    {"astronomical_dusk", [](const DayEvents &e) { return e.astronomicalDusk; }},
};

// The words ostrel-cli's `day` gives for a missing moment.
std::string WordsOf(Absence absence) {
  switch (absence) {
  case Absence::AlwaysAbove: return "the Sun stays above ";
  case Absence::AlwaysBelow: return "the Sun stays below ";
  case Absence::OtherDate: return "it falls on the day before or after";
  case Absence::None: break;
  }
  return "";
}

// A shown value against the core's moment: its time, or the reason in words.
void ExpectMoment(const std::string &value, const DayMoment &core, const std::string &what) {
  if (core.happens()) {
    EXPECT_EQ(value.substr(0, 8), ClockText(core.seconds)) << what;
  } else {
    EXPECT_EQ(value.rfind(WordsOf(core.absence), 0), 0u) << what << ": " << value;
  }
}

// Every row of the list against the core's events of the same site and date.
void ExpectCoreEvents(const DayWindow &day, const MainWindow &window, double altitudeDeg,
                      const std::string &what) {
  const ClassicSunDay core = CoreDay(window);
  const DayEvents e = FindDayEvents(core);
  const LevelCrossings level = FindCrossings(core, altitudeDeg);
  const std::vector<Row> rows = RowsOf(day);
  ASSERT_EQ(rows.size(), std::size(kEvents) + 3) << what;
  for (std::size_t i = 0; i < std::size(kEvents); ++i) {
    EXPECT_EQ(rows[i].key, kEvents[i].first) << what;
    ExpectMoment(rows[i].value, kEvents[i].second(e), what + ", " + rows[i].key);
  }
  EXPECT_EQ(rows[17].key, "day_length");
  if (e.dayLengthSeconds) {
    EXPECT_EQ(rows[17].value, DayLengthText(e)) << what;
  } else {
    EXPECT_EQ(rows[17].value.find(':'), std::string::npos) << what << ": " << rows[17].value;
  }
  EXPECT_EQ(rows[18].key, "altitude_rising");
  ExpectMoment(rows[18].value, level.rising, what + ", altitude rising");
  EXPECT_EQ(rows[19].key, "altitude_setting");
  ExpectMoment(rows[19].value, level.setting, what + ", altitude setting");
  EXPECT_EQ(day.events().sunrise.seconds, e.sunrise.seconds) << what;
  EXPECT_EQ(day.events().sunset.seconds, e.sunset.seconds) << what;
}

TEST(DayWindowMenu, OneWindowShownAgainAfterClosing) {
  const auto window = MakeWindow();
  EXPECT_EQ(window->findChild<DayWindow *>(), nullptr) << "made on first use only";
  DayWindow *day = OpenDay(*window);
  ASSERT_NE(day, nullptr);
  EXPECT_TRUE(day->isVisible());
  EXPECT_TRUE(day->isWindow());
  EXPECT_TRUE(RowsOf(*day).empty()) << "nothing computed yet";
  EXPECT_EQ(OpenDay(*window), day);
  EXPECT_EQ(window->findChildren<DayWindow *>().size(), 1);
  day->close();
  EXPECT_FALSE(day->isVisible());
  EXPECT_EQ(OpenDay(*window), day);
  EXPECT_TRUE(day->isVisible());
}

TEST(DayWindowMenu, EmptyBeforeTheFirstDay) {
  DayWindow day;
  day.show();
  EXPECT_TRUE(RowsOf(day).empty());
  EXPECT_FALSE(day.events().sunrise.happens());
  for (const char *which : {"DayChart", "SunPath"})
    EXPECT_FALSE(Find(day, which)->grab().isNull()) << which;
}

// Sites a user could meet; the sunrise column is what a person finds in an
// almanac: at 69.65 N the midnight sun lasts from late May to late July, at
// 80 N the polar night from late October to mid-February.
struct DayCase {
  const char *what;
  Input typed;
  Absence sunrise;
  const char *dayLength; // where a person knows it, else null
};
const DayCase kDays[] = {
    {"47 N on the June solstice", {}, Absence::None, nullptr},
    {"33 S, 74 W in October",
     {.longGrad = "73", .longMin = "59.5", .latGrad = "33", .latMin = "52.2", .timezon = "-5",
      .list1 = 1, .list2 = 1, .day = "3", .month = "10", .year = "2024"},
     Absence::None, nullptr},
    {"midnight sun at 69.65 N",
     {.longGrad = "18", .longMin = "57", .latGrad = "69", .latMin = "39", .timezon = "1",
      .day = "21", .month = "6", .year = "2026"},
     Absence::AlwaysAbove, "24:00:00"},
    {"polar night at 80 N, zone -12",
     {.longGrad = "179", .longMin = "30", .latGrad = "80", .latMin = "0", .timezon = "-12",
      .list1 = 1, .day = "1", .month = "1", .year = "1700"},
     Absence::AlwaysBelow, "00:00:00"},
};

TEST(DayWindowEvents, RowsAreTheCoresEvents) {
  for (const DayCase &c : kDays) {
    const auto window = MakeWindow();
    const DayWindow *day = DayOf(*window, c.typed);
    ExpectCoreEvents(*day, *window, 10, c.what);
    const Row sunrise = RowOf(*day, "sunrise");
    EXPECT_EQ(sunrise.value.rfind(WordsOf(c.sunrise), 0), 0u) << c.what << ": " << sunrise.value;
    EXPECT_EQ(sunrise.value.find(':') == std::string::npos, c.sunrise != Absence::None)
        << c.what << ": " << sunrise.value;
    if (c.dayLength) {
      EXPECT_EQ(RowOf(*day, "day_length").value, c.dayLength) << c.what;
    }
  }
}

// 47 N on the June solstice: the Sun culminates at 90 - 47 + 23.44 = 66.44
// degrees, shown after the time.
TEST(DayWindowEvents, CulminationShowsItsAltitude) {
  const auto window = MakeWindow();
  const DayWindow *day = DayOf(*window, {});
  const std::string value = RowOf(*day, "culmination").value;
  ASSERT_GT(value.size(), 10u) << value;
  EXPECT_NEAR(std::stod(value.substr(10)), 66.44, 0.02) << value;
  EXPECT_EQ(value.substr(value.size() - 2), "°");
}

TEST(DayWindowFollows, ANewCalculation) {
  const auto window = MakeWindow();
  DayWindow *day = DayOf(*window, {});
  ExpectCoreEvents(*day, *window, 10, "June 21");
  const int juneSunset = day->events().sunset.seconds;
  Fill(*window, {.day = "22", .month = "12"});
  window->Command2_Click();
  ExpectCoreEvents(*day, *window, 10, "December 22");
  EXPECT_NE(day->events().sunset.seconds, juneSunset);
}

TEST(DayWindowFollows, TicksAcrossMidnight) {
  auto clock = std::make_shared<FakeClock>();
  clock->now = QDateTime(QDate(2011, 12, 31), QTime(23, 59, 59));
  const auto window = MakeWindow(clock);
  window->Timer1_Timer();
  DayWindow *day = OpenDay(*window);
  ExpectCoreEvents(*day, *window, 10, "December 31");
  const std::string lastSunset = RowOf(*day, "sunset").value;

  clock->now = QDateTime(QDate(2012, 1, 1), QTime(0, 0, 0));
  window->Timer1_Timer();
  EXPECT_EQ(window->lastInput().DateDay, 1);
  ExpectCoreEvents(*day, *window, 10, "January 1");
  // Early in January the evenings lengthen by about a minute a day.
  EXPECT_NE(RowOf(*day, "sunset").value, lastSunset);
}

// Within one date a tick only moves the marks of the present moment.
TEST(DayWindowFollows, PresentMarksMoveWithTheTick) {
  auto clock = std::make_shared<FakeClock>();
  clock->now = QDateTime(QDate(2011, 6, 21), QTime(9, 0, 0));
  const auto window = MakeWindow(clock);
  window->Timer1_Timer();
  DayWindow *day = OpenDay(*window);
  const std::vector<Row> rowsBefore = RowsOf(*day);
  const QImage chartBefore = Find(*day, "DayChart")->grab().toImage();
  const QImage skyBefore = Find(*day, "SunPath")->grab().toImage();
  clock->now = QDateTime(QDate(2011, 6, 21), QTime(15, 0, 0));
  window->Timer1_Timer();
  EXPECT_NE(Find(*day, "DayChart")->grab().toImage(), chartBefore);
  EXPECT_NE(Find(*day, "SunPath")->grab().toImage(), skyBefore);
  const std::vector<Row> rowsAfter = RowsOf(*day);
  ASSERT_EQ(rowsAfter.size(), rowsBefore.size());
  for (std::size_t i = 0; i < rowsAfter.size(); ++i)
    EXPECT_EQ(rowsAfter[i].value, rowsBefore[i].value) << rowsAfter[i].key;
}

// At 47 N on the June solstice the Sun culminates at 66.44 degrees: higher
// levels are never reached, the horizon and below are crossed both ways.
TEST(DayWindowAltitude, RowsFollowTheValue) {
  const struct {
    double altitudeDeg;
    const char *caption; // the level as the rows name it
    bool reached;
  } levels[] = {{-18, "-18°", true}, {0, "0°", true},       {30, "+30°", true},
                {66, "+66°", true},  {66.5, "+66.5°", false}, {80, "+80°", false}};
  const auto window = MakeWindow();
  DayWindow *day = DayOf(*window, {});
  auto *altitude = Find<QDoubleSpinBox>(*day, "DayAltitude");
  for (const auto &level : levels) {
    altitude->setValue(level.altitudeDeg);
    const std::string what = level.caption;
    ExpectCoreEvents(*day, *window, level.altitudeDeg, what);
    for (const char *key : {"altitude_rising", "altitude_setting"}) {
      const Row row = RowOf(*day, key);
      EXPECT_NE(row.caption.find(level.caption), std::string::npos) << row.caption;
      EXPECT_EQ(row.value.find(':') != std::string::npos, level.reached) << what << ": " << row.value;
      if (!level.reached) {
        EXPECT_EQ(row.value, "the Sun stays below " + what + " all day");
      }
    }
  }
}

QByteArray BytesOf(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(DayWindowPictures, SavedAsPngAndSvg) {
  const auto window = MakeWindow();
  DayWindow *day = DayOf(*window, {});
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char *which : {"DayChart", "SunPath"}) {
    const QWidget *picture = Find(*day, which);
    const QString png = dir.filePath(QString::fromLatin1(which) + ".PNG");
    const QString svg = dir.filePath(QString::fromLatin1(which) + ".svg");
    bool saved = false;
    EXPECT_TRUE(RunClosingMessages([&] {
                  saved = day->savePicture(png, which) && day->savePicture(svg, which);
                }).isEmpty());
    EXPECT_TRUE(saved) << which;
    const QImage image(png);
    ASSERT_FALSE(image.isNull()) << which;
    EXPECT_EQ(image.size(), picture->size() * picture->devicePixelRatioF()) << which;
    const QRgb first = image.pixel(0, 0);
    bool varied = false;
    for (int y = 0; y < image.height() && !varied; ++y)
      for (int x = 0; x < image.width() && !varied; ++x)
        varied = image.pixel(x, y) != first;
    EXPECT_TRUE(varied) << which << " is blank";
    const QByteArray vector = BytesOf(svg);
    EXPECT_TRUE(vector.contains("<svg")) << which;
    EXPECT_TRUE(vector.contains("</svg>")) << which;
  }
}

TEST(DayWindowPictures, FailuresSayWhyAndKeepTheOldFile) {
  const auto window = MakeWindow();
  DayWindow *day = DayOf(*window, {});
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // The message as the window writes it, up to the system's own reason
  // where the file system refuses.
  const struct {
    const char *what;
    QString path;
    const char *which;
    bool russian;
    const char *message;
  } failures[] = {
      {"unknown picture", dir.filePath("old.png"), "YearChart", false,
       "Could not save \"old.png\": there is no picture called \"YearChart\""},
      {"unknown picture, Russian", dir.filePath("old.png"), "YearChart", true,
       "Не удалось сохранить «old.png»: нет рисунка «YearChart»"},
      {"unknown suffix", dir.filePath("old.bmp"), "DayChart", false,
       "Could not save \"old.bmp\": the file name must end in .png or .svg"},
      {"no suffix", dir.filePath("old"), "SunPath", true,
       "Не удалось сохранить «old»: имя файла должно кончаться на .png или .svg"},
      {"missing directory", dir.filePath("missing/old.png"), "DayChart", false,
       "Could not save \"old.png\": "},
  };
  const QByteArray old("an older picture");
  for (const auto &f : failures) {
    day->SetRussian(f.russian);
    QFile file(f.path);
    const bool existing = QDir().exists(QFileInfo(f.path).path());
    if (existing) {
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(old);
      file.close();
    }
    bool saved = true;
    const QStringList messages = RunClosingMessages([&] { saved = day->savePicture(f.path, f.which); });
    EXPECT_FALSE(saved) << f.what;
    EXPECT_EQ(messages.size(), 1) << f.what;
    const QString expected = QString::fromUtf8(f.message);
    const QString shown = messages.value(0);
    EXPECT_TRUE(expected.endsWith(": ") ? shown.startsWith(expected) : shown == expected)
        << f.what << ": " << shown.toStdString();
    if (existing) {
      EXPECT_EQ(BytesOf(f.path), old) << f.what;
    } else {
      EXPECT_FALSE(QFile::exists(f.path)) << f.what;
    }
  }
}

TEST(DayWindowPictures, ChangeWithTheSite) {
  const Input north{}, south{.latGrad = "33", .latMin = "52.2", .list2 = 1};
  for (const char *which : {"DayChart", "SunPath"}) {
    const auto window = MakeWindow();
    DayWindow *day = DayOf(*window, north);
    const QImage before = Find(*day, which)->grab().toImage();
    Fill(*window, south);
    window->Command2_Click();
    EXPECT_NE(Find(*day, which)->grab().toImage(), before) << which;
  }
}

TEST(DayWindowPictures, ScaleWithTheWindow) {
  const auto window = MakeWindow();
  DayWindow *day = DayOf(*window, {});
  for (const char *which : {"DayChart", "SunPath"}) {
    day->resize(1000, 700);
    QApplication::processEvents();
    const QSize small = Find(*day, which)->size();
    day->resize(1400, 1000);
    QApplication::processEvents();
    const QSize large = Find(*day, which)->size();
    EXPECT_GT(large.width(), small.width()) << which;
    EXPECT_GT(large.height(), small.height()) << which;
  }
}

// The rim in the main window's three conventions, at north, east, south and
// west: what the window's azimuth shows for the Sun in those directions.
TEST(DayWindowPictures, RimFollowsTheAzimuthConvention) {
  const struct {
    void (MainWindow::*choose)();
    QStringList cardinal;
  } conventions[] = {{&MainWindow::me1_12_Click, {"0", "90", "180", "270"}},
                     {&MainWindow::me1_13_Click, {"180", "270", "360", "90"}},
                     {&MainWindow::me1_14_Click, {"-180", "-90", "0", "90"}}};
  for (const auto &c : conventions) {
    const auto window = MakeWindow();
    SelectManual(*window);
    (window.get()->*c.choose)();
    const DayWindow *day = DayOf(*window, {});
    const QStringList rim = Find<SunPathChart>(*day, "SunPath")->rimLabels();
    ASSERT_EQ(rim.size(), 12);
    EXPECT_EQ((QStringList{rim[0], rim[3], rim[6], rim[9]}), c.cardinal);
  }
}

bool IsCyrillic(const QString &text) {
  for (const QChar c : text)
    if (c.unicode() >= 0x0400 && c.unicode() <= 0x04FF)
      return true;
  return false;
}

// Whether the window is made before or after the switch, its captions
// follow the main window's language, and back.
TEST(DayWindowLanguage, FollowsTheSwitch) {
  const struct {
    const char *what;
    bool switchFirst;
  } orders[] = {{"opened in Russian", true}, {"switched while open", false}};
  const Input polar = kDays[2].typed;
  for (const auto &order : orders) {
    const auto window = MakeWindow();
    if (order.switchFirst)
      window->me1_10_Click();
    DayWindow *day = DayOf(*window, polar);
    if (!order.switchFirst) {
      EXPECT_EQ(RowOf(*day, "sunrise").caption, "Sunrise");
      window->me1_10_Click();
    }
    const Row sunrise = RowOf(*day, "sunrise");
    EXPECT_NE(sunrise.caption, "Sunrise") << order.what;
    EXPECT_TRUE(IsCyrillic(QString::fromStdString(sunrise.caption))) << order.what;
    EXPECT_TRUE(IsCyrillic(QString::fromStdString(sunrise.value))) << order.what << ": reason";
    EXPECT_TRUE(IsCyrillic(day->windowTitle())) << order.what;
    EXPECT_TRUE(IsCyrillic(TextOf(*day, "DayAltitudeCaption"))) << order.what;
    EXPECT_TRUE(IsCyrillic(TextOf(*day, "SaveDayChart"))) << order.what;
    window->me1_9_Click();
    EXPECT_EQ(RowOf(*day, "sunrise").caption, "Sunrise") << order.what;
    EXPECT_EQ(day->windowTitle(), "Sun's day") << order.what;
    EXPECT_EQ(TextOf(*day, "DayAltitudeCaption"), "Sun at altitude") << order.what;
  }
}

} // namespace
} // namespace ostrel::testing
