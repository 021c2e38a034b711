// SPDX-License-Identifier: GPL-3.0-or-later
// The theory in the window: its marks and the title, the settings file,
// the results computed again at once, the day and year windows.

#include <QAbstractItemView>
#include <QAction>
#include <QTableView>
#include <QTemporaryDir>

#include "app/day_window.h"
#include "app/year_window.h"
#include "core/day/day_table.h"
#include "window_test_support.h"

namespace ostrel::testing {
namespace {

void Choose(MainWindow &window, Theory theory) {
  const char *item = theory == Theory::Precise ? "me1_17" : "me1_16";
  EXPECT_TRUE(RunClosingMessages([&] { Find<QAction>(window, item)->trigger(); }).isEmpty());
}

// The core's texts for the window's last inputs.
QStringList CoreTexts(const MainWindow &window, Theory theory) {
  Ephemeris run;
  run.theory = theory;
  run.state = window.lastInput();
  run.MAINCALC();
  QStringList texts;
  for (const auto &[name, text] : SunReport::Labels)
    texts << QString::fromStdString(run.report.*text);
  return texts;
}

TEST(Theory, MarksTitleAndSettingsFile) {
  QTemporaryDir folder;
  const QString path = folder.filePath("ostrel.ini");
  const auto clock = [] { return QDateTime(QDate(2011, 6, 21), QTime(9, 0)); };
  MainWindow window(path, clock);
  const std::tuple<Theory, bool, const char *> rows[] = {
      {Theory::Precise, false, "Ostrel — precise"}, {Theory::Precise, true, "Ostrel — точная"},
      {Theory::Classic, true, "Ostrel"}, {Theory::Classic, false, "Ostrel"}};
  for (const auto &[theory, russian, title] : rows) {
    Choose(window, theory); // the second time, the item already marked
    russian ? window.ApplyRussian() : window.me1_9_Click();
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8(title));
    EXPECT_EQ(Find<QAction>(window, "me1_16")->isChecked(), theory == Theory::Classic);
    EXPECT_EQ(Find<QAction>(window, "me1_17")->isChecked(), theory == Theory::Precise);
  }
  Choose(window, Theory::Precise);
  window.me1_7_Click();
  EXPECT_EQ(ReadFile(path), "Kishinev, 28  50  0  47  0  0  3  1000   0 Azimuth,precise\r\n");
  const MainWindow loaded(path, clock);
  EXPECT_TRUE(Find<QAction>(loaded, "me1_17")->isChecked());
  EXPECT_EQ(loaded.windowTitle(), "Ostrel — precise");
}

// Manual mode shows the last calculation again, not a field edited since;
// tracking, the clock's moment now.
TEST(Theory, ASwitchComputesAtOnceInEitherMode) {
  for (const bool tracking : {false, true}) {
    SCOPED_TRACE(tracking ? "tracking" : "manual");
    auto clock = std::make_shared<FakeClock>();
    const auto window = MakeWindow(clock);
    if (tracking) {
      window->Timer1_Timer();
      clock->now = clock->now.addSecs(90);
    } else {
      SelectManual(*window);
      const QStringList design = ResultTexts(*window);
      Choose(*window, Theory::Precise); // nothing calculated: nothing to show
      EXPECT_EQ(ResultTexts(*window), design);
      Choose(*window, Theory::Classic);
      Fill(*window, {});
      ASSERT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
      SetTextOf(*window, "LatGrad", "10");
    }
    Choose(*window, Theory::Precise);
    EXPECT_EQ(window->lastInput().LatRad, 47 * kRad);
    EXPECT_EQ(TextOf(*window, "TimeMin"), tracking ? "1" : "0");
    EXPECT_EQ(ResultTexts(*window), CoreTexts(*window, Theory::Precise));
    EXPECT_NE(ResultTexts(*window), CoreTexts(*window, Theory::Classic));
    Choose(*window, Theory::Classic);
    EXPECT_EQ(ResultTexts(*window), CoreTexts(*window, Theory::Classic));
  }
}

// Sunrise in the day window and in the year table's row of the date.
TEST(Theory, DayAndYearWindowsFollow) {
  const auto window = MakeWindow();
  SelectManual(*window);
  Fill(*window, {});
  ASSERT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
  const CalcState &in = window->lastInput();
  QStringList shown;
  for (const Theory theory : {Theory::Precise, Theory::Classic}) {
    Choose(*window, theory);
    if (shown.isEmpty()) { // made in the precise theory, then switched
      window->me3_1_Click();
      window->me3_2_Click();
    }
    const QAbstractItemModel *rows = Find<QAbstractItemView>(*window, "DayEvents")->model();
    const auto *table = Find<QTableView>(*window, "YearTable");
    const DayEvents core =
        FindDayEvents(*MakeSunDay(theory, {in.LatRad, in.LongHours, in.Timezon}, {2011, 6, 21}));
    shown << QString::fromStdString(ClockText(core.sunrise.seconds));
    const auto sunrise = rows->match(rows->index(0, 0), Qt::UserRole, "sunrise").value(0);
    EXPECT_EQ(sunrise.siblingAtColumn(1).data().toString(), shown.back());
    EXPECT_EQ(table->currentIndex().siblingAtColumn(1).data().toString(), shown.back());
  }
  EXPECT_NE(shown[0], shown[1]);
}

} // namespace
} // namespace ostrel::testing
