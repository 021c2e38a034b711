// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file from the window: save and load round trips, the exact
// line, what a failed load keeps, and saves that cannot be done.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>

#include "app/hemisphere_list.h"
#include "app/settings_file.h"
#include "window_test_support.h"

namespace ostrel::testing {
namespace {

std::unique_ptr<MainWindow> WindowAt(const QString &path) {
  return std::make_unique<MainWindow>(path, [] { return QDateTime(QDate(2011, 6, 21), QTime(9, 0)); });
}

QString Checked(const MainWindow &window, std::initializer_list<const char *> items) {
  QString checked;
  for (const char *name : items)
    if (Find<QAction>(window, name)->isChecked())
      checked += QString::fromLatin1(name) + ' ';
  return checked.trimmed();
}

struct SavedState {
  const char *what;
  Input input;
  const char *town;
  void (MainWindow::*interval)();
  void (MainWindow::*azimuth)();
  bool russian;
  // What the next start shows.
  const char *latMin, *intervalMark, *azimuthMark, *azimSun;
  int period, azimuthMode;
};

TEST(Settings, SavedValuesComeBackAtTheNextStart) {
  const SavedState cases[] = {
      {"design state", {}, "Kishinev", &MainWindow::me1_2_Click, &MainWindow::me1_12_Click,
       false, "0", "me1_2", "me1_12", "Azimuth", 1000, 0},
      {"west, south, negative zone, Russian", {.longGrad = "74", .longMin = "0.5", .latGrad = "33",
       .latMin = "27.25", .timezon = "-5", .list1 = 1, .list2 = 1}, "Нью-Йорк",
       &MainWindow::me1_5_Click, &MainWindow::me1_14_Click, true, "27.25", "me1_5", "me1_14",
       "Азимут", 10000, -180},
      {"3 sec from south", {.timezon = "5.75"}, "Kathmandu, NP", &MainWindow::me1_3_Click,
       &MainWindow::me1_13_Click, false, "0", "me1_3", "me1_13", "Azimuth", 3000, 180},
      {"5 sec, quoted town", {.latGrad = "-90"}, "\"Pole\"", &MainWindow::me1_4_Click,
       &MainWindow::me1_12_Click, true, "0", "me1_4", "me1_12", "Азимут", 5000, 0},
  };
  for (const SavedState &c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir folder;
    const QString path = folder.filePath("config/ostrel.ini"); // folder made on save
    {
      const auto window = WindowAt(path);
      Fill(*window, c.input);
      SetTextOf(*window, "Town", QString::fromUtf8(c.town));
      (window.get()->*c.interval)();
      (window.get()->*c.azimuth)();
      if (c.russian)
        window->ApplyRussian();
      EXPECT_TRUE(RunClosingMessages([&] { window->me1_7_Click(); }).isEmpty());
    }
    const auto next = WindowAt(path);
    EXPECT_EQ(TextOf(*next, "Town"), QString::fromUtf8(c.town));
    EXPECT_EQ(TextOf(*next, "LongGrad"), c.input.longGrad);
    EXPECT_EQ(TextOf(*next, "LongMin"), c.input.longMin);
    EXPECT_EQ(TextOf(*next, "LatGrad"), c.input.latGrad);
    EXPECT_EQ(TextOf(*next, "LatMin"), c.latMin);
    EXPECT_EQ(TextOf(*next, "Timezon"), c.input.timezon);
    EXPECT_EQ(Find<HemisphereList>(*next, "List1")->TopIndex(), c.input.list1);
    EXPECT_EQ(Find<HemisphereList>(*next, "List2")->TopIndex(), c.input.list2);
    EXPECT_EQ(Checked(*next, {"me1_2", "me1_3", "me1_4", "me1_5"}), c.intervalMark);
    EXPECT_EQ(Find<QTimer>(*next, "Timer1")->interval(), c.period);
    EXPECT_EQ(next->timerInterval(), c.period);
    EXPECT_EQ(Checked(*next, {"me1_12", "me1_13", "me1_14"}), c.azimuthMark);
    EXPECT_EQ(next->ephemeris().state.AzimuthMode, c.azimuthMode);
    EXPECT_EQ(TextOf(*next, "AzimSun"), QString::fromUtf8(c.azimSun));
    EXPECT_EQ(TextOf(*next, "Command1"), c.russian ? QString::fromUtf8("Конец") : "Cancel");
  }
}

TEST(Settings, TheTwoExampleLinesByteForByte) {
  QTemporaryDir folder;
  const QString path = folder.filePath("ostrel.ini");
  const auto window = WindowAt(path);
  window->me1_7_Click();
  EXPECT_EQ(ReadFile(path), "Kishinev, 28  50  0  47  0  0  3  1000   0 Azimuth\r\n");

  Fill(*window, {.timezon = "-5", .list1 = 1, .list2 = 1});
  window->me1_5_Click();
  window->me1_14_Click();
  window->ApplyRussian();
  window->me1_7_Click();
  EXPECT_EQ(ReadFile(path), "Kishinev, 28  50  1  47  0  1 -5  10000  -180 "
                            "\xC0\xE7\xE8\xEC\xF3\xF2\r\n");
  // Saving takes the texts as they stand and leaves them.
  SetTextOf(*window, "LongGrad", "12abc");
  window->me1_7_Click();
  EXPECT_TRUE(ReadFile(path).startsWith("Kishinev, 12  50 "));
  EXPECT_EQ(TextOf(*window, "LongGrad"), "12abc");
}

struct LoadCase {
  const char *what;
  const char *file;
  const char *town, *longGrad, *latGrad, *timezon;
  int list1, period;
  const char *intervalMark, *azimuthMark;
  int azimuthMode;
  const char *azimSun;
};

TEST(Settings, WhatALoadAppliesAndWhereItStops) {
  const LoadCase cases[] = {
      {"no file", nullptr, "Kishinev", "28", "47", "3", 0, 1000, "me1_2", "me1_12", 0, "Azimuth"},
      {"period 0 is one second", "Riga, 24  6  0  56  57  0  2  0   180 Azimuth", "Riga", "24",
       "56", "2", 0, 1000, "me1_2", "me1_13", 180, "Azimuth"},
      {"azimuth code 90 marks the signed convention", "Riga, 24  6  0  56  57  0  2  3000   90 x",
       "Riga", "24", "56", "2", 0, 3000, "me1_3", "me1_14", 90, "Azimuth"},
      {"a period of no item keeps the marks", "Riga, 24  6  0  56  57  0  2  2000   0 Azimuth",
       "Riga", "24", "56", "2", 0, 2000, "me1_2", "me1_12", 0, "Azimuth"},
      {"values are not checked at load", "Riga, 24  6  0  56  57  0  20  5000   0 Azimuth",
       "Riga", "24", "56", "20", 0, 5000, "me1_4", "me1_12", 0, "Azimuth"},
      // Stops at the longitude: the period, town and longitude fields stay;
      // the azimuth code read (180) is discarded with its marks not set.
      {"east/west index 5", "Riga, 24  6  5  56  57  1  2  5000   180 Азимут", "Riga", "24",
       "47", "3", 0, 5000, "me1_4", "me1_12", 0, "Azimuth"},
      // Nothing is applied: the period read is discarded too.
      {"ten values", "Riga, 24  6  0  56  57  0  2  5000   180", "Kishinev", "28", "47", "3", 0,
       1000, "me1_2", "me1_12", 0, "Azimuth"},
      {"an integer beyond 16 bits", "Riga, 24  6  0  56  57  0  2  50000   0 Azimuth",
       "Kishinev", "28", "47", "3", 0, 1000, "me1_2", "me1_12", 0, "Azimuth"},
      {"a negative period", "Riga, 24  6  0  56  57  0  2  -5   180 Azimuth", "Kishinev", "28",
       "47", "3", 0, 1000, "me1_2", "me1_12", 0, "Azimuth"},
      {"values one per line", "Riga\n24\n6\n1\n56\n57\n0\n2\n10000\n-180\nAzimuth\n", "Riga",
       "24", "56", "2", 1, 10000, "me1_5", "me1_14", -180, "Azimuth"},
  };
  for (const LoadCase &c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir folder;
    const QString path = folder.filePath("ostrel.ini");
    if (c.file)
      WriteFile(path, *EncodeWindows1251(QString::fromUtf8(c.file)));
    const auto window = WindowAt(path);
    EXPECT_EQ(TextOf(*window, "Town"), QString::fromUtf8(c.town));
    EXPECT_EQ(TextOf(*window, "LongGrad"), c.longGrad);
    EXPECT_EQ(TextOf(*window, "LatGrad"), c.latGrad);
    EXPECT_EQ(TextOf(*window, "Timezon"), c.timezon);
    EXPECT_EQ(Find<HemisphereList>(*window, "List1")->TopIndex(), c.list1);
    EXPECT_EQ(Find<QTimer>(*window, "Timer1")->interval(), c.period);
    EXPECT_EQ(window->timerInterval(), c.period);
    EXPECT_EQ(Checked(*window, {"me1_2", "me1_3", "me1_4", "me1_5"}), c.intervalMark);
    EXPECT_EQ(Checked(*window, {"me1_12", "me1_13", "me1_14"}), c.azimuthMark);
    EXPECT_EQ(window->ephemeris().state.AzimuthMode, c.azimuthMode);
    EXPECT_EQ(TextOf(*window, "AzimSun"), QString::fromUtf8(c.azimSun));
    // The design's captions stay until an explicit switch.
    EXPECT_EQ(Find<QAction>(*window, "me1_2")->text(), " 1 sec");
  }
}

// Saves that cannot be done say so, name the file, and leave the old file
// whole and the window as it was.
TEST(Settings, AFailedSaveKeepsTheOldFileAndSaysWhy) {
  QTemporaryDir folder;
  const QString path = folder.filePath("ostrel.ini");
  const QByteArray old = "Riga, 24  6  0  56  57  0  2  5000   0 Azimuth\r\n";
  WriteFile(path, old);
  const auto window = WindowAt(path);
  const auto save = [&] { return RunClosingMessages([&] { window->me1_7_Click(); }); };

  SetTextOf(*window, "Town", QString::fromUtf8("Győr"));
  QStringList messages = save();
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(path))) << messages[0].toStdString();
  EXPECT_TRUE(messages[0].contains("Windows-1251"));
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(TextOf(*window, "Town"), QString::fromUtf8("Győr"));

  SetTextOf(*window, "Town", "Riga");
  SetTextOf(*window, "LatMin", "1e40");
  ASSERT_EQ(save().size(), 1);
  EXPECT_EQ(ReadFile(path), old);
  SetTextOf(*window, "LatMin", "0");

  // A write that fails part-way (a file size limit of 16 bytes): the old
  // file stays whole, no cut-off line takes its place.
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  rlimit small = limit;
  small.rlim_cur = 16;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  messages = save();
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, previous);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(path)));
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"ostrel.ini"})
      << "no temporary file is left behind";

  // A folder that cannot be made: a file stands where it should be.
  WriteFile(folder.filePath("blocked"), "x");
  const auto blocked = WindowAt(folder.filePath("blocked/ostrel.ini"));
  messages = RunClosingMessages([&] { blocked->me1_7_Click(); });
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(folder.filePath("blocked"))));
  EXPECT_EQ(ReadFile(folder.filePath("blocked")), "x");
}

} // namespace
} // namespace ostrel::testing
