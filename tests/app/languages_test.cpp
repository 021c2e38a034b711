// SPDX-License-Identifier: GPL-3.0-or-later
// The language switch and the azimuth convention.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/hemisphere_list.h"
#include "app/languages.h"
#include "window_test_support.h"

namespace ostrel::testing {
namespace {

// The caption of a control of the language table, whatever its kind.
QString CaptionOf(const MainWindow &window, const char *name) {
  const QString objectName = QString::fromLatin1(name);
  if (auto *menu = window.findChild<QMenu *>(objectName))
    return menu->title();
  if (auto *item = window.findChild<QAction *>(objectName))
    return item->text();
  return TextOf(window, name);
}

void ExpectColumn(const MainWindow &window, bool russian) {
  for (const auto rows : {languages::Headings(), languages::Captions()})
    for (const languages::Caption &row : rows)
      EXPECT_EQ(CaptionOf(window, row.control), row.text.In(russian)) << row.control;
  const auto items = languages::HemisphereItems();
  const auto *list1 = Find<HemisphereList>(window, "List1");
  const auto *list2 = Find<HemisphereList>(window, "List2");
  EXPECT_EQ(list1->item(0)->text(), items[0].text.In(russian));
  EXPECT_EQ(list1->item(1)->text(), items[1].text.In(russian));
  EXPECT_EQ(list2->item(0)->text(), items[2].text.In(russian));
  EXPECT_EQ(list2->item(1)->text(), items[3].text.In(russian));
}

TEST(Languages, EveryCaptionInBothDirections) {
  const auto window = MakeWindow();
  window->ApplyRussian();
  ExpectColumn(*window, true);
  window->me1_10_Click(); // twice: as after the first time
  ExpectColumn(*window, true);
  window->me1_9_Click(); // the table's English, not the design's six captions
  ExpectColumn(*window, false);
  EXPECT_EQ(Find<QAction>(*window, "me1_2")->text(), "&1 sec");
  // Not translated: the title bar, M.J.D., the units, the town.
  EXPECT_EQ(window->windowTitle(), "Ostrel");
  EXPECT_EQ(TextOf(*window, "Label1"), "M.J.D.");
  EXPECT_EQ(TextOf(*window, "km"), "km");
  EXPECT_EQ(TextOf(*window, "Town"), "Kishinev");
}

// West and South stay in view through a switch, and the next calculation
// uses the same signs; results, mode, period and marks are untouched.
TEST(Languages, SwitchKeepsHemispheresResultsAndSettings) {
  const auto window = MakeWindow();
  SelectManual(*window);
  Fill(*window, {.list1 = 1, .list2 = 1});
  window->me1_4_Click();
  window->me1_13_Click();
  ASSERT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
  const QStringList results = ResultTexts(*window);
  const CalcState before = window->lastInput();

  const char *const west[] = {"Зап.", "West"};
  const char *const south[] = {"Южн.", "South"};
  for (int step = 0; step < 2; ++step) {
    step == 0 ? window->ApplyRussian() : window->me1_9_Click();
    auto *list1 = Find<HemisphereList>(*window, "List1");
    auto *list2 = Find<HemisphereList>(*window, "List2");
    EXPECT_EQ(list1->item(list1->TopIndex())->text(), QString::fromUtf8(west[step]));
    EXPECT_EQ(list2->item(list2->TopIndex())->text(), QString::fromUtf8(south[step]));
    EXPECT_EQ(ResultTexts(*window), results);
    EXPECT_TRUE(Find<QRadioButton>(*window, "Option2")->isChecked());
    EXPECT_FALSE(Find<QTimer>(*window, "Timer1")->isActive());
    EXPECT_EQ(window->timerInterval(), 5000);
    EXPECT_TRUE(Find<QAction>(*window, "me1_4")->isChecked());
    EXPECT_TRUE(Find<QAction>(*window, "me1_13")->isChecked());
    ASSERT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
    EXPECT_EQ(window->lastInput().LongHours, before.LongHours);
    EXPECT_EQ(window->lastInput().LatRad, before.LatRad);
    EXPECT_EQ(ResultTexts(*window), results);
  }
}

// 47 00' N, 28 50' E, zone +3, 21 June 2011 at 09:00: the Sun's azimuth is
// 93.42 from north, 273.42 from south, -86.58 signed from south.
TEST(AzimuthConvention, MarksAndTheNextCalculation) {
  const auto window = MakeWindow();
  SelectManual(*window);
  Fill(*window, {.hour = "9"});
  ASSERT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
  EXPECT_EQ(TextOf(*window, "AzimTrue"), "93.42");
  const std::tuple<const char *, std::int16_t, const char *> items[] = {
      {"me1_13", 180, "273.42"}, {"me1_14", -180, "-86.58"}, {"me1_12", 0, "93.42"}};
  for (const auto &[name, mode, azimuth] : items) {
    Find<QAction>(*window, name)->trigger();
    EXPECT_EQ(window->ephemeris().state.AzimuthMode, mode);
    for (const char *item : {"me1_12", "me1_13", "me1_14"})
      EXPECT_EQ(Find<QAction>(*window, item)->isChecked(), QString(item) == name) << item;
    const QString shown = TextOf(*window, "AzimTrue");
    EXPECT_NE(shown, azimuth) << "no recalculation on a menu choice";
    ASSERT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
    EXPECT_EQ(TextOf(*window, "AzimTrue"), azimuth) << name;
  }
}

TEST(Settings, AFileTimeZoneOutOfRangeIsRefusedByTheFirstTick) {
  const auto window = MakeWindow();
  SetTextOf(*window, "Timezon", "20"); // as a load would show it
  EXPECT_EQ(RunClosingMessages([&] { window->Timer1_Timer(); }),
            QStringList{"Uncorrect input Timezone!"});
  EXPECT_TRUE(Find<QRadioButton>(*window, "Option2")->isChecked());
}

} // namespace
} // namespace ostrel::testing
