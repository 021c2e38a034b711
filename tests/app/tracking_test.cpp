// SPDX-License-Identifier: GPL-3.0-or-later
// Real-time tracking: the two modes, the timer interval, the tick on a clock
// the test sets, the fall-back to manual mode, and the mended faults.

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "window_test_support.h"

namespace ostrel::testing {
namespace {

// The mode as the user sees it: the option, the enabled inputs, the timer.
void ExpectMode(const MainWindow &window, bool tracking, int period) {
  EXPECT_EQ(Find<QRadioButton>(window, "Option1")->isChecked(), tracking);
  EXPECT_EQ(Find<QRadioButton>(window, "Option2")->isChecked(), !tracking);
  for (const char *name : {"Command2", "LongGrad", "LongMin", "List1", "List2", "LatGrad",
                           "LatMin", "Timezon"})
    EXPECT_EQ(Find(window, name)->isEnabled(), !tracking) << name;
  for (const char *name : {"Town", "DateDay", "DateMonth", "DateYear", "TimeHour", "TimeMin",
                           "TimeSec", "Command1"})
    EXPECT_TRUE(Find(window, name)->isEnabled()) << name;
  const auto *timer = Find<QTimer>(window, "Timer1");
  EXPECT_EQ(timer->isActive() ? timer->interval() : 0, period);
}

QStringList CheckedIntervals(const MainWindow &window) {
  QStringList checked;
  for (const char *name : {"me1_2", "me1_3", "me1_4", "me1_5"})
    if (Find<QAction>(window, name)->isChecked())
      checked << name;
  return checked;
}

TEST(Modes, OptionsAndIntervalItems) {
  const auto window = MakeWindow();
  const std::tuple<void (MainWindow::*)(), const char *, int> items[] = {
      {&MainWindow::me1_5_Click, "me1_5", 10000}, {&MainWindow::me1_3_Click, "me1_3", 3000},
      {&MainWindow::me1_4_Click, "me1_4", 5000},  {&MainWindow::me1_2_Click, "me1_2", 1000}};
  for (const auto &[item, name, period] : items) {
    (window.get()->*item)(); // tracking: the new period applies at once
    EXPECT_EQ(CheckedIntervals(*window), QStringList{name});
    ExpectMode(*window, true, period);
  }
  Find<QRadioButton>(*window, "Option2")->click();
  ExpectMode(*window, false, 0);
  // Mended: in manual mode an item records the period and moves the mark
  // but leaves the timer stopped, so no tick overwrites the typed moment.
  Find<QAction>(*window, "me1_4")->trigger();
  EXPECT_EQ(window->timerInterval(), 5000);
  EXPECT_EQ(CheckedIntervals(*window), QStringList{"me1_4"});
  ExpectMode(*window, false, 0);
  Find<QRadioButton>(*window, "Option1")->click();
  ExpectMode(*window, true, 5000);
  EXPECT_EQ(TextOf(*window, "JulianDate"), "") << "no result before the first tick";
}

TEST(Tick, WritesTheClockAndHandsUtInSinglePrecision) {
  const std::tuple<QTime, QString, QStringList, float> rows[] = {
      // clock, time zone field, fields afterwards, UtHours
      {QTime(1, 30), "3", {"22", "12", "2011", "1", "30", "0", "3"}, -1.5f},
      {QTime(10, 20, 30, 500), "5.5", {"22", "12", "2011", "10", "20", "30", "5.5"},
       float((10 * 3600 + 20 * 60 + 30.5) / 3600 - 5.5)},
      {QTime(6, 0), "abc", {"22", "12", "2011", "6", "0", "0", "0"}, 6.0f}};
  for (const auto &[time, timezon, fields, utHours] : rows) {
    auto clock = std::make_shared<FakeClock>();
    clock->now = QDateTime(QDate(2011, 12, 22), time);
    const auto window = MakeWindow(clock);
    SetTextOf(*window, "Timezon", timezon);
    window->Timer1_Timer();
    QStringList after;
    for (const char *name : {"DateDay", "DateMonth", "DateYear", "TimeHour", "TimeMin",
                             "TimeSec", "Timezon"})
      after << TextOf(*window, name);
    EXPECT_EQ(after, fields);
    EXPECT_EQ(TextOf(*window, "LatMin"), "0") << "disabled site fields are rewritten";
    const CalcState &state = window->lastInput();
    EXPECT_EQ(state.UtHours, double(utHours));
    EXPECT_EQ(state.DayUt, double(float(22 + utHours / 24.0f)));
    EXPECT_EQ(state.DateDay, 22);
    EXPECT_EQ(state.DayBoundary, 0.5 - double(state.Timezon) / 24);
    EXPECT_FALSE(TextOf(*window, "JulianDate").isEmpty());
    ExpectMode(*window, true, 1000);
  }
}

TEST(Tick, SiteChecksOfTracking) {
  const double rad = 3.1415926535 / 180;
  const std::tuple<const char *, Input, QString, double> rows[] = {
      // what, site, message, LatRad when accepted
      {"180 0 west is -12 h", {.longGrad = "180", .longMin = "0", .list1 = 1}, "", 47 * rad},
      // 1.5707992 rad: below the tick's 1.5708, above the bound of Calculate.
      {"90 0.01 south", {.latGrad = "90", .latMin = "0.01", .list2 = 1}, "",
       -(double(0.01f) / 60 + 90) * rad},
      {"time zone 14", {.timezon = "14"}, "", 47 * rad},
      {"time zone 14.5", {.timezon = "14.5"}, "Uncorrect input Timezone!", 0},
      {"minutes 59.995", {.longMin = "59.995"}, "Uncorrect input Longitude!", 0},
      {"180 1 west", {.longGrad = "180", .longMin = "1", .list1 = 1},
       "Uncorrect input Longitude!", 0},
      {"90 1 north", {.latGrad = "90", .latMin = "1"}, "Uncorrect input Latitude!", 0},
      {"1e40 single time zone", {.timezon = "1e40"}, "Uncorrect input Timezone!", 0}};
  for (const auto &[what, site, message, latRad] : rows) {
    SCOPED_TRACE(what);
    auto clock = std::make_shared<FakeClock>();
    const auto window = MakeWindow(clock);
    window->Timer1_Timer();
    const QStringList good = ResultTexts(*window);
    Fill(*window, site);
    const QStringList shown = RunClosingMessages([&] { window->Timer1_Timer(); });
    if (message.isEmpty()) {
      EXPECT_TRUE(shown.isEmpty());
      EXPECT_NEAR(window->lastInput().LatRad, latRad, 1e-12);
      ExpectMode(*window, true, 1000);
      continue;
    }
    // One message, then manual mode; the last results and the typed time stay.
    EXPECT_EQ(shown, QStringList{message});
    ExpectMode(*window, false, 0);
    EXPECT_EQ(ResultTexts(*window), good);
    EXPECT_EQ(clock->readings, 1);
    EXPECT_EQ(TextOf(*window, "TimeHour"), site.hour);
  }
}

// Mended: one reading of the clock serves the whole tick, even when a second
// reading would fall on the next day.
TEST(Tick, TakesOneReadingOfTheClock) {
  int readings = 0;
  const MainWindow window(QStringLiteral("/nonexistent-ostrel-dir/ostrel.ini"), [&readings] {
    return ++readings == 1 ? QDateTime(QDate(2011, 12, 31), QTime(23, 59, 59, 999))
                           : QDateTime(QDate(2012, 1, 1), QTime(0, 0));
  });
  const_cast<MainWindow &>(window).Timer1_Timer();
  EXPECT_EQ(readings, 1);
  QStringList fields;
  for (const char *name : {"DateDay", "DateMonth", "DateYear", "TimeHour", "TimeMin", "TimeSec"})
    fields << TextOf(window, name);
  EXPECT_EQ(fields, QStringList({"31", "12", "2011", "23", "59", "59"}));
  EXPECT_EQ(window.lastInput().DateYear, 2011);
  EXPECT_EQ(window.lastInput().UtHours, double(float(86399.999 / 3600 - 3)));
}

// Mended: while a tick's message is open no tick runs, neither from the
// timer nor handed in directly, and the message shows once however long it
// stays open.
TEST(Tick, NoTickRunsWhileAMessageIsOpen) {
  auto clock = std::make_shared<FakeClock>();
  const auto window = MakeWindow(clock);
  SetTextOf(*window, "Timezon", "15");
  auto *timer = Find<QTimer>(*window, "Timer1");
  timer->start(5); // ticks would pile up fast if they ran
  QList<QPointer<QMessageBox>> boxes;
  bool timerActiveUnderMessage = false;
  QTimer watcher;
  watcher.setInterval(0);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || boxes.contains(box))
      return;
    boxes.append(box);
    timerActiveUnderMessage = timerActiveUnderMessage || timer->isActive();
    if (boxes.size() == 1) // a tick falls due while the user reads
      QTimer::singleShot(20, window.get(), [&] { window->Timer1_Timer(); });
    QTimer::singleShot(120, box, [box] { box->done(QMessageBox::Ok); });
  });
  watcher.start();
  QTest::qWait(300);
  EXPECT_EQ(boxes.size(), 1);
  EXPECT_FALSE(timerActiveUnderMessage);
  ExpectMode(*window, false, 0);
  EXPECT_EQ(clock->readings, 0);
}

} // namespace
} // namespace ostrel::testing
