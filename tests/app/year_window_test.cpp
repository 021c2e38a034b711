// SPDX-License-Identifier: GPL-3.0-or-later
// The year window: opened from the View menu, its table against the core
// and its CSV against `ostrel-cli table`, failed saves, how it follows the
// main window's calculations, the chart's bands and the two languages.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "app/year_window.h"
#include "cli/commands.h"
#include "core/day/day_table.h"
#include "window_test_support.h"

namespace ostrel::testing {
namespace {

// A main window that has calculated `typed` by hand.
std::unique_ptr<MainWindow> Calculated(const Input &typed) {
  auto window = MakeWindow();
  SelectManual(*window);
  Fill(*window, typed);
  const QStringList messages = RunClosingMessages([&] { window->Command2_Click(); });
  EXPECT_TRUE(messages.isEmpty()) << messages.join(" ").toStdString();
  return window;
}

void Recalculate(MainWindow &window, const Input &typed) {
  Fill(window, typed);
  const QStringList messages = RunClosingMessages([&] { window.Command2_Click(); });
  EXPECT_TRUE(messages.isEmpty()) << messages.join(" ").toStdString();
}

YearWindow *OpenYear(MainWindow &window) {
  window.me3_2_Click();
  return window.findChild<YearWindow *>(QStringLiteral("frmYear"));
}

QAbstractItemModel *TableOf(const YearWindow &year) {
  return Find<QTableView>(year, "YearTable")->model();
}

Site SiteOf(const MainWindow &window) {
  const CalcState &input = window.lastInput();
  return {input.LatRad, input.LongHours, input.Timezon};
}

// Every text of a row of the table against the core's fields for `date`.
void ExpectRowOfCore(const YearWindow &year, int row, const Site &site, CivilDate date) {
  const auto fields =
      TableFields(date, FindDayEvents(ClassicSunDay(site, date), {}, DayEventSet::Twilights));
  for (std::size_t column = 0; column < kTableColumns; ++column)
    EXPECT_EQ(TableOf(year)->index(row, int(column)).data().toString().toStdString(),
              fields[column])
        << DateText(date) << ", " << TableColumns()[column];
}

// Sites typed in the window and the same on the command line.
const Input kKishinev{.day = "3", .month = "2"};
const Input kTromso{.longGrad = "18",
                    .longMin = "57",
                    .latGrad = "69",
                    .latMin = "39",
                    .timezon = "1",
                    .day = "3",
                    .month = "2",
                    .year = "2026"};

TEST(YearWindow, ViewMenuShowsOneWindowAgainAndAgain) {
  const auto window = MakeWindow();
  YearWindow *year = OpenYear(*window);
  ASSERT_NE(year, nullptr);
  EXPECT_TRUE(year->isVisible());
  EXPECT_TRUE(year->isWindow());
  EXPECT_EQ(year->windowModality(), Qt::NonModal);
  EXPECT_EQ(year->windowTitle().toStdString(), "Year table");
  // Nothing calculated yet: an empty table, a chart of bare axes, nothing
  // to save.
  EXPECT_EQ(TableOf(*year)->rowCount(), 0);
  EXPECT_FALSE(Find(*year, "YearChart")->grab().isNull());
  EXPECT_FALSE(Find<QPushButton>(*year, "SaveCsv")->isEnabled());

  EXPECT_EQ(OpenYear(*window), year);
  EXPECT_EQ(window->findChildren<YearWindow *>().size(), 1);
  year->close();
  EXPECT_FALSE(year->isVisible());
  EXPECT_EQ(OpenYear(*window), year);
  EXPECT_TRUE(year->isVisible());
}

TEST(YearWindow, OneRowPerDateAsTheCoreGivesIt) {
  // Row of 21 June: 31+28+31+30+31 days before June, one more in a leap year.
  const struct {
    const char *year;
    int rows, juneSolsticeRow;
  } kYears[] = {{"2026", 365, 171}, {"2024", 366, 172}, {"2100", 365, 171}, {"2000", 366, 172}};
  for (const auto &y : kYears) {
    Input typed; // Kishinev, 21 June
    typed.year = y.year;
    const auto window = Calculated(typed);
    const YearWindow *year = OpenYear(*window);
    const QAbstractItemModel *table = TableOf(*year);
    ASSERT_EQ(table->rowCount(), y.rows) << y.year;
    ASSERT_EQ(table->columnCount(), int(kTableColumns));
    const int number = QString(y.year).toInt();
    ExpectRowOfCore(*year, 0, SiteOf(*window), {number, 1, 1});
    ExpectRowOfCore(*year, y.juneSolsticeRow, SiteOf(*window), {number, 6, 21});
    ExpectRowOfCore(*year, y.rows - 1, SiteOf(*window), {number, 12, 31});
    EXPECT_EQ(Find<QTableView>(*year, "YearTable")->currentIndex().row(), y.juneSolsticeRow)
        << "the main window's date is the current row";
  }
}

TEST(YearWindow, CsvIsTheCommandLinesToTheByte) {
  const struct {
    const char *what;
    Input typed;
    std::vector<std::string> site;
    const char *polarDays; // row starts of a polar day and night, or none
  } kPlaces[] = {
      {"Kishinev, a leap year",
       {.year = "2024"},
       {"--lat", "47:0N", "--lon", "28:50E", "--tz", "3"},
       nullptr},
      {"beyond the polar circle",
       kTromso,
       {"--lat", "69:39N", "--lon", "18:57E", "--tz", "1"},
       "2026-06-21,,,|2026-12-21,,,"},
      {"south and west",
       {.longGrad = "73",
        .longMin = "59.5",
        .latGrad = "33",
        .latMin = "52.2",
        .timezon = "-5",
        .list1 = 1,
        .list2 = 1,
        .year = "2100"},
       {"--lat", "33:52.2S", "--lon", "73:59.5W", "--tz", "-5"},
       nullptr},
  };
  QTemporaryDir folder;
  for (const auto &place : kPlaces) {
    const auto window = Calculated(place.typed);
    YearWindow *year = OpenYear(*window);
    const QString path = folder.filePath("year.csv");
    WriteFile(path, "an older table\n");
    bool saved = false;
    EXPECT_TRUE(RunClosingMessages([&] { saved = year->saveCsv(path); }).isEmpty());
    EXPECT_TRUE(saved) << place.what;

    const std::string from = place.typed.year.toStdString() + "-01-01";
    const std::string to = place.typed.year.toStdString() + "-12-31";
    std::vector<std::string> words{"table"};
    words.insert(words.end(), place.site.begin(), place.site.end());
    words.insert(words.end(), {"--from", from, "--to", to, "--format", "csv"});
    std::ostringstream out, err;
    ASSERT_EQ(cli::Run(words, out, err, {}), cli::kDone) << err.str();
    const QByteArray csv = ReadFile(path);
    EXPECT_EQ(csv.toStdString(), out.str()) << place.what;
    EXPECT_FALSE(csv.contains('\r')) << place.what;
    if (place.polarDays) {
      for (const QString &row : QString(place.polarDays).split('|'))
        EXPECT_TRUE(csv.contains("\n" + row.toUtf8())) << place.what << ": " << row.toStdString();
    }
  }
}

TEST(YearWindow, AFailedSaveSaysSoOnceAndKeepsTheOldFile) {
  const struct {
    const char *what;
    const char *oldFile; // written first, or none
    const char *path;
    bool picture;
  } kFailures[] = {
      {"CSV into a missing folder", nullptr, "missing/year.csv", false},
      {"CSV where a file stands for the folder", "old.csv", "old.csv/year.csv", false},
      {"picture into a missing folder", nullptr, "missing/year.png", true},
      {"picture where a file stands for the folder", "old.png", "old.png/year.svg", true},
      {"picture of a type neither PNG nor SVG", "old.bmp", "old.bmp", true},
  };
  const QByteArray old = "the old file\n";
  const auto window = Calculated(kKishinev);
  YearWindow *year = OpenYear(*window);
  for (const auto &failure : kFailures) {
    QTemporaryDir folder;
    if (failure.oldFile)
      WriteFile(folder.filePath(failure.oldFile), old);
    const QString path = folder.filePath(failure.path);
    bool saved = true;
    const QStringList messages = RunClosingMessages(
        [&] { saved = failure.picture ? year->savePicture(path) : year->saveCsv(path); });
    EXPECT_FALSE(saved) << failure.what;
    EXPECT_EQ(messages.size(), 1) << failure.what;
    ExpectOnlyOldFileLeft(folder.path(), failure.oldFile, old, failure.what);
  }
}

TEST(YearWindow, APictureReplacesTheOldFileWhole) {
  const auto window = Calculated(kKishinev);
  YearWindow *year = OpenYear(*window);
  const QWidget *chart = Find(*year, "YearChart");
  QTemporaryDir folder;
  for (const char *name : {"year.png", "year.svg", "YEAR.PNG"}) {
    const QString path = folder.filePath(name);
    WriteFile(path, "the old file\n");
    bool saved = false;
    EXPECT_TRUE(RunClosingMessages([&] { saved = year->savePicture(path); }).isEmpty());
    EXPECT_TRUE(saved) << name;
    const QByteArray bytes = ReadFile(path);
    if (QFileInfo(path).suffix().toLower() == "svg") {
      EXPECT_TRUE(bytes.contains("<svg")) << name;
    } else {
      EXPECT_TRUE(bytes.startsWith("\x89PNG\r\n\x1a\n")) << name;
      EXPECT_EQ(QImage::fromData(bytes).size(), chart->size()) << name;
    }
  }
}

TEST(YearWindow, FollowsEachCalculationComputingOnlyANewSiteOrYear) {
  const auto window = Calculated(kKishinev); // 2011
  YearWindow *year = OpenYear(*window);
  QSignalSpy computed(TableOf(*year), &QAbstractItemModel::modelReset);
  const auto tromso2024 = [] {
    Input typed = kTromso;
    typed.year = "2024";
    return typed;
  }();
  const struct {
    const char *what;
    Input typed;
    int computations, rows;
    const char *currentDate;
  } kSteps[] = {
      {"another date of the year", {.day = "9", .month = "11"}, 0, 365, "2011-11-09"},
      {"another hour of the same date",
       {.day = "9", .month = "11", .hour = "18"},
       0,
       365,
       "2011-11-09"},
      {"another year", {.day = "9", .month = "11", .year = "2024"}, 1, 366, "2024-11-09"},
      {"another site", tromso2024, 1, 366, "2024-02-03"},
      {"another time zone alone",
       [&] {
         Input t = tromso2024;
         t.timezon = "2";
         return t;
       }(),
       1, 366, "2024-02-03"},
  };
  for (const auto &step : kSteps) {
    computed.clear();
    Recalculate(*window, step.typed);
    EXPECT_EQ(computed.count(), step.computations) << step.what;
    ASSERT_EQ(TableOf(*year)->rowCount(), step.rows) << step.what;
    const int current = Find<QTableView>(*year, "YearTable")->currentIndex().row();
    EXPECT_EQ(TableOf(*year)->index(current, 0).data().toString().toStdString(), step.currentDate)
        << step.what;
    const QDate date = QDate::fromString(step.currentDate, Qt::ISODate);
    ExpectRowOfCore(*year, current, SiteOf(*window), {date.year(), date.month(), date.day()});
  }

  // Hidden, it is brought up to date when shown again.
  year->close();
  Recalculate(*window, kTromso); // 2026
  EXPECT_EQ(TableOf(*year)->rowCount(), 366);
  OpenYear(*window);
  EXPECT_EQ(TableOf(*year)->index(0, 0).data().toString().toStdString(), "2026-01-01");
}

TEST(YearWindow, HoursAboveALevelFromItsCrossings) {
  const auto at = [](int hours, int minutes) { return DayMoment::At(hours * 3600 + minutes * 60); };
  const struct {
    const char *what;
    DayMoment rising, setting;
    std::vector<HourSpan> above;
  } kCrossings[] = {
      {"up at 06:00, down at 18:30", at(6, 0), at(18, 30), {{6, 18.5}}},
      {"a polar day",
       DayMoment::Missing(Absence::AlwaysAbove),
       DayMoment::Missing(Absence::AlwaysAbove),
       {{0, 24}}},
      {"a polar night",
       DayMoment::Missing(Absence::AlwaysBelow),
       DayMoment::Missing(Absence::AlwaysBelow),
       {}},
      {"down at 00:45, up again at 23:15", at(23, 15), at(0, 45), {{0, 0.75}, {23.25, 24}}},
      {"up at 01:30, down after midnight",
       at(1, 30),
       DayMoment::Missing(Absence::OtherDate),
       {{1.5, 24}}},
      {"up since the date before, down at 22:00",
       DayMoment::Missing(Absence::OtherDate),
       at(22, 0),
       {{0, 22}}},
  };
  for (const auto &c : kCrossings) {
    const std::vector<HourSpan> above = HoursAbove(c.rising, c.setting);
    ASSERT_EQ(above.size(), c.above.size()) << c.what;
    for (std::size_t i = 0; i < above.size(); ++i) {
      EXPECT_NEAR(above[i].from, c.above[i].from, 1e-9) << c.what;
      EXPECT_NEAR(above[i].to, c.above[i].to, 1e-9) << c.what;
    }
  }
}

// The chart's band at a date and hour, where the Sun's altitude is far from
// any band's edge: noon altitude 90 - latitude + declination (±23.44 at
// the solstices), midnight altitude latitude + declination - 90.
TEST(YearWindow, ChartBandsAtDevicePixelRatiosOneAndTwo) {
  const struct {
    const char *what;
    Input typed; // dated 3 February, away from the dates looked at
    int dayIndex;
    double hours;
    SkyBand band;
  } kSkies[] = {
      {"69:39N, June solstice, 00:30: midnight sun (+3.1)", kTromso, 171, 0.5, SkyBand::Daylight},
      {"69:39N, December solstice, noon: polar night, civil twilight (-3.1)", kTromso, 354, 11.75,
       SkyBand::Civil},
      {"69:39N, December solstice, 00:30: night (-43.8)", kTromso, 354, 0.5, SkyBand::Night},
      {"47N, June solstice, 12:30: day (+66)", kKishinev, 171, 12.5, SkyBand::Daylight},
      {"47N, December solstice, 00:30: night (-66)", kKishinev, 354, 0.5, SkyBand::Night},
  };
  for (const auto &sky : kSkies) {
    const auto window = Calculated(sky.typed);
    QWidget *chart = Find(*OpenYear(*window), "YearChart");
    const QPointF at = qobject_cast<YearChart *>(chart)->PointOf(sky.dayIndex, sky.hours);
    for (const int ratio : {1, 2}) {
      QImage image(chart->size() * ratio, QImage::Format_ARGB32_Premultiplied);
      image.setDevicePixelRatio(ratio);
      chart->render(&image);
      EXPECT_EQ(image.pixelColor((at * ratio).toPoint()).name(), BandColour(sky.band).name())
          << sky.what << ", device pixel ratio " << ratio;
    }
  }
}

TEST(YearWindow, ChartDiffersBetweenSitesAndMarksTheDateCalculated) {
  const auto window = Calculated(kKishinev); // 3 February 2011
  YearWindow *year = OpenYear(*window);
  auto *chart = Find<YearChart>(*year, "YearChart");
  const QImage kishinev = chart->grab().toImage();
  QSet<QRgb> colours;
  for (int y = 0; y < kishinev.height(); ++y)
    for (int x = 0; x < kishinev.width(); ++x)
      colours.insert(kishinev.pixel(x, y));
  for (SkyBand band : {SkyBand::Night, SkyBand::Astronomical, SkyBand::Nautical, SkyBand::Civil,
                       SkyBand::Daylight})
    EXPECT_TRUE(colours.contains(BandColour(band).rgb())) << "band " << int(band);

  // Noon of 3 February (day 33) is daylight at 47N; the mark covers it
  // until the date calculated moves to 21 June.
  const QString daylight = BandColour(SkyBand::Daylight).name();
  const QPoint february = chart->PointOf(33, 12.5).toPoint();
  const QPoint june = chart->PointOf(171, 12.5).toPoint();
  EXPECT_NE(kishinev.pixelColor(february).name(), daylight);
  EXPECT_EQ(kishinev.pixelColor(june).name(), daylight);
  Recalculate(*window, {.year = "2011"});
  const QImage moved = chart->grab().toImage();
  EXPECT_EQ(moved.pixelColor(february).name(), daylight);
  EXPECT_NE(moved.pixelColor(june).name(), daylight);

  Recalculate(*window, kTromso);
  EXPECT_TRUE(chart->grab().toImage() != moved);
}

TEST(YearWindow, CaptionsInTheMainWindowsLanguage) {
  const struct {
    const char *what;
    void (MainWindow::*choose)();
    const char *title, *sunrise, *altitude, *saveCsv, *savePicture;
  } kLanguages[] = {
      {"Russian", &MainWindow::me1_10_Click, "Таблица года", "Восход", "Высота в кульминации, °",
       "Сохранить как CSV...", "Сохранить рисунок..."},
      {"English", &MainWindow::me1_9_Click, "Year table", "Sunrise", "Culmination altitude, °",
       "Save as CSV...", "Save picture..."},
  };
  for (const bool openFirst : {true, false}) {
    const auto window = Calculated(kKishinev);
    YearWindow *year = openFirst ? OpenYear(*window) : nullptr;
    for (const auto &language : kLanguages) {
      const QImage before = year ? Find(*year, "YearChart")->grab().toImage() : QImage();
      (window.get()->*language.choose)();
      if (!year)
        year = OpenYear(*window);
      const QAbstractItemModel *table = TableOf(*year);
      EXPECT_EQ(year->windowTitle().toStdString(), language.title) << language.what;
      EXPECT_EQ(table->headerData(1, Qt::Horizontal).toString().toStdString(), language.sunrise)
          << language.what;
      EXPECT_EQ(table->headerData(11, Qt::Horizontal).toString().toStdString(), language.altitude)
          << language.what;
      EXPECT_EQ(TextOf(*year, "SaveCsv").toStdString(), language.saveCsv) << language.what;
      EXPECT_EQ(TextOf(*year, "SavePicture").toStdString(), language.savePicture) << language.what;
      EXPECT_EQ(table->index(0, 0).data().toString().toStdString(), "2011-01-01")
          << "the data stay as they are";
      if (!before.isNull()) {
        EXPECT_TRUE(Find(*year, "YearChart")->grab().toImage() != before)
            << language.what << ": the chart's axes and legend";
      }
    }
  }
}

// The year's calendar is `ostrel-cli ics` for the same site, year, keys
// and zone, all but DTSTAMP (the present); in Russian after the language
// is chosen.
TEST(YearWindow, CalendarIsTheCommandLinesIcs) {
  const auto window = Calculated(kKishinev); // 2011, UTC+3
  YearWindow *year = OpenYear(*window);
  EXPECT_TRUE(Find<QPushButton>(*year, "SaveCalendar")->isEnabled());
  const auto withoutStamp = [](std::string file) {
    for (std::size_t at = file.find("DTSTAMP:"); at != std::string::npos; at = file.find("DTSTAMP:"))
      file.erase(at, file.find("\r\n", at) + 2 - at);
    return file;
  };
  const struct {
    bool russian;
    const char *keys;
    const char *summary; // the first event's
  } kCalendars[] = {
      {false, "sunrise,evening_golden_hour,full_moon", "SUMMARY:Sunrise — 47.0000°N 28.8333°E\r\n"},
      {true, "march_equinox,moonset", "SUMMARY:Заход Луны — 47.0000°N 28.8333°E\r\n"},
  };
  QTemporaryDir folder;
  for (const auto &calendar : kCalendars) {
    if (calendar.russian)
      window->me1_10_Click();
    const QString path = folder.filePath("year.ics");
    WriteFile(path, "an older calendar\n");
    bool saved = false;
    EXPECT_TRUE(RunClosingMessages([&] {
                  saved = year->saveCalendar(path, QString(calendar.keys).split(','));
                }).isEmpty());
    ASSERT_TRUE(saved) << calendar.keys;
    const std::string file = ReadFile(path).toStdString();
    EXPECT_EQ(file.rfind("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n", 0), 0u) << calendar.keys;
    EXPECT_NE(file.find(calendar.summary), std::string::npos) << calendar.keys;

    std::ostringstream out, err;
    const std::vector<std::string> words = {
        "ics",        "--lat", "47:0N",      "--lon",    "28:50E",      "--tz",
        "3",          "--from", "2011-01-01", "--to",     "2011-12-31", "--events",
        calendar.keys, "--lang", calendar.russian ? "ru" : "en"};
    ASSERT_EQ(cli::Run(words, out, err, [] { return std::chrono::system_clock::now(); }),
              cli::kDone)
        << err.str();
    EXPECT_EQ(withoutStamp(file), withoutStamp(out.str())) << calendar.keys;
  }
}

TEST(YearWindow, AFailedCalendarSaysSoOnceAndKeepsTheOldFile) {
  const struct {
    const char *what;
    const char *oldFile; // written first, or none
    const char *path;
    QStringList keys;
  } kFailures[] = {
      {"into a missing folder", nullptr, "missing/year.ics", {"sunrise"}},
      {"where a file stands for the folder", "old.ics", "old.ics/year.ics", {"sunrise"}},
      {"an unknown key", "old.ics", "old.ics", {"sunrise", "golden_hour"}},
      {"no key", "old.ics", "old.ics", {}},
  };
  const QByteArray old = "the old file\n";
  const auto window = Calculated(kKishinev);
  YearWindow *year = OpenYear(*window);
  for (const auto &failure : kFailures) {
    QTemporaryDir folder;
    if (failure.oldFile)
      WriteFile(folder.filePath(failure.oldFile), old);
    bool saved = true;
    const QStringList messages = RunClosingMessages(
        [&] { saved = year->saveCalendar(folder.filePath(failure.path), failure.keys); });
    EXPECT_FALSE(saved) << failure.what;
    EXPECT_EQ(messages.size(), 1) << failure.what;
    ExpectOnlyOldFileLeft(folder.path(), failure.oldFile, old, failure.what);
  }
}

} // namespace
} // namespace ostrel::testing
