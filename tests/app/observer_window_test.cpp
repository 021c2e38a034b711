// SPDX-License-Identifier: GPL-3.0-or-later
// The observer in the windows: the dialog's values kept in observer.ini and
// restored at the next start with the one-line settings file untouched, a
// damaged observer.ini, the day window's title, the rows of a valley and of
// a notch against the sphere, the year CSV's direct_sun, and refused
// values and skyline files.

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "app/day_chart.h"
#include "app/observer_dialog.h"
#include "app/observer_settings.h"
#include "app/sun_path_chart.h"
#include "app/year_window.h"
#include "cli/commands.h"
#include "core/day/day_table.h"
#include "core/observer/observer_day.h"
#include "window_test_support.h"

namespace ostrel::testing {
namespace {

// The first example line of the settings file's format.
const QByteArray kSettingsLine = "Kishinev, 28  50  0  47  0  0  3  1000   0 Azimuth\r\n";

// A skyline 10 degrees high all round, as from the floor of a valley.
const QByteArray kValley = "# a valley\n0 10\n90 10\n180 10\n270 10\n";
// A flat horizon with a block 40 degrees high from azimuth 70 to 80,
// which the Sun of 21 June at 47 N passes behind some 17 to 25 degrees high.
const QByteArray kNotch = "0 0\n69.9 0\n70 40\n80 40\n80.1 0\n";

const Input k47North{.day = "21", .month = "6", .year = "2026"};

// An observer on, at an elevation and an eye's height, metres.
ObserverChoice On(double elevationM = 0, double eyeM = 0) {
  ObserverChoice choice;
  choice.on = true;
  choice.observer.elevationM = elevationM;
  choice.observer.eyeM = eyeM;
  return choice;
}

std::unique_ptr<MainWindow> WindowAt(const QString &settingsPath) {
  auto clock = std::make_shared<FakeClock>();
  return std::make_unique<MainWindow>(settingsPath, [clock] { return clock->now; });
}

// The values of the dialog typed into its fields, then OK, while the day
// window's "Observer..." runs the dialog modally; a message box would fail.
void ChooseInDialog(DayWindow &day, const std::vector<std::pair<const char *, QString>> &fields,
                    const QString &horizonFile) {
  bool done = false;
  QTimer filler;
  filler.setInterval(0);
  QObject::connect(&filler, &QTimer::timeout, [&] {
    auto *dialog = qobject_cast<ObserverDialog *>(QApplication::activeModalWidget());
    if (!dialog || done)
      return;
    done = true;
    Find<QCheckBox>(*dialog, "ObserverOn")->setChecked(true);
    for (const auto &[name, text] : fields)
      Find<QLineEdit>(*dialog, name)->setText(text);
    EXPECT_TRUE(dialog->openHorizon(horizonFile));
    QMetaObject::invokeMethod(dialog, &ObserverDialog::accept, Qt::QueuedConnection);
  });
  filler.start();
  Find<QPushButton>(day, "ObserverButton")->click();
  EXPECT_TRUE(done);
}

TEST(ObserverWindow, KeptInItsOwnFileAndRestoredWithoutTouchingTheSettingsLine) {
  QTemporaryDir folder;
  const QString settingsPath = folder.filePath("ostrel.ini");
  WriteFile(settingsPath, kSettingsLine);
  const QString valley = folder.filePath("valley.txt");
  WriteFile(valley, kValley);
  const QString title = "Sun's day — 1000 m, eye 800 m, horizon valley.txt";
  {
    auto window = WindowAt(settingsPath);
    DayWindow *day = DayOf(*window, k47North);
    EXPECT_EQ(day->windowTitle(), "Sun's day");
    ChooseInDialog(*day, {{"ObserverElevation", "1000"}, {"ObserverEye", "800"}}, valley);
    EXPECT_EQ(day->windowTitle(), title);
    EXPECT_TRUE(day->events().observer);
    window->me1_7_Click(); // "Save settings" writes the same line as before
  }
  EXPECT_EQ(ReadFile(settingsPath), kSettingsLine);
  const ObserverChoice kept = ReadObserverSettings(folder.filePath("observer.ini"));
  EXPECT_TRUE(kept.on);
  EXPECT_EQ(kept.observer.elevationM, 1000);
  EXPECT_EQ(kept.observer.eyeM, 800);
  EXPECT_EQ(kept.profile.points().size(), 4u);

  auto again = WindowAt(settingsPath);
  DayWindow *day = DayOf(*again, k47North);
  EXPECT_EQ(day->windowTitle(), title);
  EXPECT_TRUE(day->observer() == kept);
  EXPECT_FALSE(RowOf(*day, "direct_sun").value.empty());
  EXPECT_EQ(ReadFile(settingsPath), kSettingsLine);
}

TEST(ObserverWindow, ADamagedFileKeepsItsGoodValues) {
  const struct {
    const char *what;
    QByteArray ini;
    bool on;
    double elevationM, eyeM;
    std::optional<double> pressureHpa;
    double temperatureC;
    std::size_t points;
  } cases[] = {
      {"all good", "[observer]\non=true\nelevation_m=1000\neye_m=800\npressure_hpa=950\n"
                   "temperature_c=-5\nhorizon_file=/v.txt\nhorizon_points=\"0 10\\n180 5\\n\"\n",
       true, 1000, 800, 950, -5, 2},
      {"words and out of range", "[observer]\non=true\nelevation_m=high\neye_m=800\n"
                                 "pressure_hpa=5000\ntemperature_c=99\n",
       true, 0, 0, std::nullopt, 10, 0},
      {"an eye too high for its elevation", "[observer]\non=true\nelevation_m=100\neye_m=700\n",
       true, 100, 0, std::nullopt, 10, 0},
      {"a skyline that does not read", "[observer]\non=false\nhorizon_file=/v.txt\n"
                                       "horizon_points=\"0 10\\nabc\\n\"\neye_m=2\n",
       false, 0, 2, std::nullopt, 10, 0},
      {"not an INI file", "\x01\x02[[[=\n\xff\xfe", false, 0, 0, std::nullopt, 10, 0},
  };
  for (const auto &c : cases) {
    QTemporaryDir folder;
    const QString path = folder.filePath("observer.ini");
    WriteFile(path, c.ini);
    const ObserverChoice read = ReadObserverSettings(path);
    EXPECT_EQ(read.on, c.on) << c.what;
    EXPECT_EQ(read.observer.elevationM, c.elevationM) << c.what;
    EXPECT_EQ(read.observer.eyeM, c.eyeM) << c.what;
    EXPECT_EQ(read.observer.pressureHpa, c.pressureHpa) << c.what;
    EXPECT_EQ(read.observer.temperatureC, c.temperatureC) << c.what;
    EXPECT_EQ(read.profile.points().size(), c.points) << c.what;
    EXPECT_EQ(read.horizonFile.isEmpty(), c.points == 0) << c.what;
  }
}

TEST(ObserverWindow, TitleNamesTheObserverInEitherLanguage) {
  const ObserverChoice ship = On(30, 30);
  ObserverChoice air = ship;
  air.observer.pressureHpa = 1013.5;
  air.observer.temperatureC = -5;
  ObserverChoice off = air;
  off.on = false;
  ObserverChoice hill = On(1000, 800);
  hill.horizonFile = "/somewhere/valley.txt";
  const struct {
    const ObserverChoice &choice;
    const char *english, *russian;
  } cases[] = {
      {ObserverChoice{}, "Sun's day", "День Солнца"},
      {off, "Sun's day", "День Солнца"},
      {ship, "Sun's day — 30 m, eye 30 m", "День Солнца — 30 м, глаз 30 м"},
      {air, "Sun's day — 30 m, eye 30 m, 1013.5 hPa, -5 °C",
       "День Солнца — 30 м, глаз 30 м, 1013.5 гПа, -5 °C"},
      {hill, "Sun's day — 1000 m, eye 800 m, horizon valley.txt",
       "День Солнца — 1000 м, глаз 800 м, горизонт valley.txt"},
  };
  for (const auto &c : cases) {
    DayWindow day;
    day.SetObserver(c.choice);
    EXPECT_EQ(day.windowTitle().toStdString(), c.english);
    day.SetRussian(true);
    EXPECT_EQ(day.windowTitle().toStdString(), c.russian);
  }
}

int SecondsOf(const std::string &clock) {
  return std::stoi(clock.substr(0, 2)) * 3600 + std::stoi(clock.substr(3, 2)) * 60 +
         std::stoi(clock.substr(6, 2));
}

std::vector<std::string> KeysOf(const DayWindow &day, const std::string &key) {
  std::vector<std::string> values;
  for (const Row &row : RowsOf(day))
    if (row.key == key)
      values.push_back(row.value);
  return values;
}

// At 47 N on 21 June (declination +23.44) the upper limb on a 10 degree
// skyline puts the centre at 10 - 0.090 (Bennett) - 0.262 (semi-diameter)
// = 9.648 degrees, at an hour angle of acos((sin h - sin p sin d) / (cos p
// cos d)) = 6.758 h either side of noon, against 7.948 h at sea level
// (-0.833): sunrise 71.4 minutes later, sunset as much earlier, 13.515 h
// of direct sun.  Allowed: the declination's change over the day, 1 min.
TEST(ObserverWindow, AValleyAndANotchInTheEventsList) {
  QTemporaryDir folder;
  const auto window = MakeWindow();
  DayWindow *day = DayOf(*window, k47North);
  const std::vector<Row> seaLevel = RowsOf(*day);
  const int seaSunrise = SecondsOf(RowOf(*day, "sunrise").value);
  const int seaSunset = SecondsOf(RowOf(*day, "sunset").value);
  EXPECT_TRUE(KeysOf(*day, "direct_sun").empty());
  EXPECT_TRUE(Find<DayChart>(*day, "DayChart")->horizon().empty());

  const struct {
    const char *what;
    QByteArray skyline;
    std::size_t risings;
    double laterMinutes, directHours; // NaN: not checked
  } cases[] = {
      {"a valley", kValley, 1, 71.4, 13.515},
      {"a notch", kNotch, 2, NAN, NAN},
  };
  for (const auto &c : cases) {
    const QString path = folder.filePath("skyline.txt");
    WriteFile(path, c.skyline);
    ObserverDialog dialog(On(), false);
    ASSERT_TRUE(dialog.openHorizon(path)) << c.what;
    day->SetObserver(dialog.choice());
    const std::vector<std::string> risings = KeysOf(*day, "visible_rising");
    const std::vector<std::string> settings = KeysOf(*day, "visible_setting");
    ASSERT_EQ(risings.size(), c.risings) << c.what;
    ASSERT_EQ(settings.size(), c.risings) << c.what;
    EXPECT_EQ(RowOf(*day, "sunrise").value, risings.front()) << c.what;
    EXPECT_EQ(RowOf(*day, "sunset").value, settings.back()) << c.what;
    int direct = 0;
    for (std::size_t i = 0; i < risings.size(); ++i)
      direct += SecondsOf(settings[i]) - SecondsOf(risings[i]);
    EXPECT_EQ(SecondsOf(RowOf(*day, "direct_sun").value), direct) << c.what;
    EXPECT_FALSE(Find<DayChart>(*day, "DayChart")->horizon().empty()) << c.what;
    EXPECT_TRUE(Find<SunPathChart>(*day, "SunPath")->dip()) << c.what;
    if (!std::isnan(c.laterMinutes)) {
      EXPECT_NEAR((SecondsOf(risings.front()) - seaSunrise) / 60.0, c.laterMinutes, 1) << c.what;
      EXPECT_NEAR((seaSunset - SecondsOf(settings.back())) / 60.0, c.laterMinutes, 1) << c.what;
      EXPECT_NEAR(direct / 3600.0, c.directHours, 1 / 60.0) << c.what;
    }
  }
  // Off again: the list as it was, and nothing of the observer drawn.
  day->SetObserver(ObserverChoice{});
  const std::vector<Row> after = RowsOf(*day);
  ASSERT_EQ(after.size(), seaLevel.size());
  for (std::size_t i = 0; i < after.size(); ++i)
    EXPECT_EQ(after[i].value, seaLevel[i].value) << after[i].key;
  EXPECT_TRUE(Find<DayChart>(*day, "DayChart")->horizon().empty());
  EXPECT_FALSE(Find<SunPathChart>(*day, "SunPath")->dip());
}

// The CSV with an observer: the core's columns with direct_sun after
// day_length, each row the core's observer day (a flat horizon: the direct
// sun is the day's length).
TEST(ObserverWindow, YearCsvHasDirectSun) {
  QTemporaryDir folder;
  const Site site{47 * 3.14159265358979 / 180, (28 + 50 / 60.0) / 15, 3};
  YearWindow year;
  year.SetObserver(On(100, 100));
  year.ShowYear(site, {2026, 6, 21});
  const QString path = folder.filePath("year.csv");
  ASSERT_TRUE(year.saveCsv(path));
  const QList<QByteArray> lines = ReadFile(path).split('\n');
  ASSERT_EQ(lines.size(), 365 + 2); // the header, the dates and an empty last piece
  EXPECT_EQ(lines[0], "date,sunrise,sunset,culmination,day_length,direct_sun,civil_dawn,"
                      "civil_dusk,nautical_dawn,nautical_dusk,astronomical_dawn,"
                      "astronomical_dusk,culmination_altitude");
  const ObserverHorizon horizon(On(100, 100).observer);
  const CivilDate june21{2026, 6, 21};
  const DayEvents events =
      FindObserverDayEvents(Theory::Classic, site, june21, horizon, {}, DayEventSet::Twilights);
  const QList<QByteArray> fields = lines[172].split(',');
  ASSERT_EQ(fields.size(), 13);
  EXPECT_EQ(fields[0].toStdString(), DateText(june21));
  EXPECT_EQ(fields[1].toStdString(), ClockText(events.sunrise.seconds));
  EXPECT_EQ(fields[4], fields[5]);
  EXPECT_EQ(fields[5].toStdString(), ClockText(events.observer->directSunSeconds));
  EXPECT_EQ(Find<QTableView>(year, "YearTable")->model()->headerData(5, Qt::Horizontal),
            "Direct sun");
  // The whole file is `ostrel-cli table`'s for the same site and observer.
  const std::vector<std::string> words{"table", "--lat", "47:0N", "--lon", "28:50E", "--tz", "3",
                                       "--from", "2026-01-01", "--to", "2026-12-31", "--format",
                                       "csv", "--elevation", "100", "--eye", "100"};
  std::ostringstream out, err;
  ASSERT_EQ(cli::Run(words, out, err, {}), cli::kDone) << err.str();
  EXPECT_EQ(ReadFile(path).toStdString(), out.str());

  year.SetObserver(ObserverChoice{});
  ASSERT_TRUE(year.saveCsv(path));
  EXPECT_EQ(ReadFile(path).split('\n')[0].toStdString() + '\n', TableCsvHeader());
}

// OK is refused with the core's reason until the values are accepted.
TEST(ObserverWindow, OkRefusedUntilTheValuesAreAccepted) {
  ObserverDialog dialog(On(), false);
  const struct {
    const char *field, *text, *message;
  } steps[] = {
      {"ObserverTemperature", "warm", "The observer's values are not accepted: Temperature, °C: "
                                      "\"warm\" is not a number."},
      {"ObserverTemperature", "-70", "the temperature -70 °C is not within -60 to 50 °C"},
      {"ObserverEye", "700", "the eye's height 700 m is more than the elevation 0 m plus 500 m"},
      {"ObserverEye", "2", "the temperature -70 °C"},
      {"ObserverTemperature", "-5", nullptr},
  };
  for (const auto &step : steps) {
    Find<QLineEdit>(dialog, step.field)->setText(QString::fromUtf8(step.text));
    dialog.setResult(QDialog::Rejected);
    const QStringList messages = RunClosingMessages([&] { dialog.accept(); });
    if (!step.message) {
      EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
      EXPECT_EQ(dialog.result(), QDialog::Accepted);
      continue;
    }
    ASSERT_EQ(messages.size(), 1) << step.text;
    EXPECT_NE(messages[0].toStdString().find(step.message), std::string::npos) << messages[0].toStdString();
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << step.text;
  }
  EXPECT_EQ(dialog.choice().observer.eyeM, 2);
  EXPECT_EQ(dialog.choice().observer.temperatureC, -5);
}

// A skyline file that cannot be read is refused with its line, and the
// skyline before it stays.
TEST(ObserverWindow, ABadHorizonFileIsRefusedWithItsLine) {
  QTemporaryDir folder;
  const QString valley = folder.filePath("valley.txt");
  WriteFile(valley, kValley);
  const struct {
    const char *what;
    QByteArray text; // none: no such file
    const char *message;
  } cases[] = {
      {"not two numbers", "0 1\n# fine\nabc\n", "cannot be read: line 3: "},
      {"an altitude too high", "0 1\n90 91\n", "cannot be read: line 2: "},
      {"an azimuth twice", "0 1\n90 2\n90 3\n", "cannot be read: line 3: "},
      {"one point", "0 1\n", "cannot be read: "},
      {"no such file", {}, "cannot be read: "},
  };
  for (const auto &c : cases) {
    ObserverDialog dialog(On(), false);
    ASSERT_TRUE(dialog.openHorizon(valley));
    const QString path = folder.filePath("bad.txt");
    QFile::remove(path);
    if (!c.text.isNull())
      WriteFile(path, c.text);
    bool opened = true;
    const QStringList messages = RunClosingMessages([&] { opened = dialog.openHorizon(path); });
    EXPECT_FALSE(opened) << c.what;
    ASSERT_EQ(messages.size(), 1) << c.what;
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("The horizon file \"bad.txt\" %1")
                                           .arg(QString::fromUtf8(c.message))))
        << c.what << ": " << messages[0].toStdString();
    EXPECT_EQ(dialog.choice().horizonFile, valley) << c.what;
    EXPECT_EQ(dialog.choice().profile.points().size(), 4u) << c.what;
  }
}

} // namespace
} // namespace ostrel::testing
