// SPDX-License-Identifier: GPL-3.0-or-later
// The window as it opens, its layout, the hemisphere lists and the keyboard.

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/hemisphere_list.h"
#include "app/result_label.h"
#include "window_test_support.h"

namespace ostrel::testing {
namespace {

TEST(InitialState, DesignStateWithTheDefaultSite) {
  auto clock = std::make_shared<FakeClock>();
  const auto window = MakeWindow(clock);
  const std::tuple<const char *, QString, bool> fields[] = {
      {"Town", "Kishinev", true}, {"LongGrad", "28", false}, {"LongMin", "50", false},
      {"LatMin", "00", false},    {"Timezon", "3", false},   {"DateDay", "", true},
      {"TimeSec", "", true},      {"Command2", "Calculate", false}, {"Command1", "Cancel", true}};
  for (const auto &[name, text, enabled] : fields) {
    EXPECT_EQ(TextOf(*window, name), text) << name;
    EXPECT_EQ(Find(*window, name)->isEnabled(), enabled) << name;
  }
  for (const auto &[name, text] : SunReport::Labels)
    EXPECT_EQ(TextOf(*window, name), QString(name) == "RiseAzim"  ? "99"
                                     : QString(name) == "SetAzim" ? "285" : "") << name;
  EXPECT_TRUE(Find<QRadioButton>(*window, "Option1")->isChecked());
  EXPECT_EQ(Find<QTimer>(*window, "Timer1")->interval(), 1000);
  EXPECT_TRUE(Find<QTimer>(*window, "Timer1")->isActive());
  EXPECT_EQ(window->timerInterval(), 1000);
  EXPECT_EQ(clock->readings, 0) << "nothing is computed at load";
  EXPECT_EQ(window->ephemeris().state.Rad, 3.1415926535 / 180);
  EXPECT_FALSE(window->windowIcon().pixmap(32, 32).isNull());
}

TEST(InitialState, MenusInScreenOrderWithCheckMarks) {
  const auto window = MakeWindow();
  const auto entries = [&window](const char *menu) {
    QStringList texts;
    for (QAction *action : Find<QMenu>(*window, menu)->actions())
      texts << action->text() + (action->isChecked() ? " [x]" : "");
    return texts;
  };
  QStringList bar;
  for (QAction *action : window->menuBar()->actions())
    bar << action->menu()->objectName();
  EXPECT_EQ(bar, QStringList({"me1", "me3", "me2"}));
  EXPECT_EQ(entries("me3"), QStringList({"Sun's day...", "Year table...", "World map..."}));
  EXPECT_EQ(entries("me1"), QStringList({"&Timer interval", "&Language", "&Azimuth", "Theory",
                                         "Time zone of this computer", "&Save settings",
                                         "&Exit"}));
  EXPECT_EQ(entries("me1_1"), QStringList({" 1 sec [x]", " 3 sec", " 5 sec", "10 sec"}));
  EXPECT_EQ(entries("me1_11"), QStringList({"&From North(0-360) [x]", "&From South(0-360)",
                                            "&From South(-180+180)"}));
  EXPECT_EQ(entries("me1_15"), QStringList({"Classic (1980 epoch) [x]", "Precise"}));
}

void ShowAndActivate(MainWindow &window) {
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// Ink of a label's text outside its box, laid out as the label lays it out.
template <typename Label>
int InkOutside(const Label &label) {
  QImage image(label.size() + QSize(80, 80), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  const QRect box(QPoint(40, 40), label.size());
  QPainter painter(&image);
  painter.setFont(label.font());
  painter.drawText(box, int(label.alignment()) | Qt::TextWordWrap | Qt::TextDontClip,
                   label.text());
  painter.end();
  int outside = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      outside += qAlpha(image.pixel(x, y)) > 96 && !box.contains(x, y);
  return outside;
}

// Captions, headings and the results of sites with the longest texts: polar
// day and night, a south-western corner of the ranges, the earliest date.
TEST(Layout, EveryTextFitsItsBox) {
  for (const bool russian : {false, true}) {
    SCOPED_TRACE(russian ? "Russian" : "English");
    const auto window = MakeWindow();
    if (russian)
      window->ApplyRussian();
    SelectManual(*window);
    const Input sites[] = {
        {.latGrad = "89"},
        {.latGrad = "89", .month = "12"},
        {.longGrad = "179", .longMin = "59.99", .latGrad = "66", .latMin = "33.5",
         .timezon = "-12", .list1 = 1, .list2 = 1, .day = "31", .month = "12", .year = "2100",
         .hour = "23", .minute = "59", .second = "59"},
        {.latGrad = "0", .day = "1", .month = "1", .year = "1700", .hour = "0"}};
    for (const Input &site : sites) {
      Fill(*window, site);
      EXPECT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
      for (const QLabel *label : window->findChildren<QLabel *>())
        EXPECT_EQ(InkOutside(*label), 0) << label->objectName().toStdString() << " "
                                         << label->text().toStdString();
      const auto results = window->findChildren<ResultLabel *>();
      ASSERT_EQ(results.size(), qsizetype(SunReport::Labels.size()));
      for (const ResultLabel *label : results)
        EXPECT_EQ(InkOutside(*label), 0) << label->objectName().toStdString() << " "
                                         << label->text().toStdString();
    }
    for (const QPushButton *button : window->findChildren<QPushButton *>())
      EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 8, button->width());
  }
}

TEST(HemisphereList, TheItemInViewIsTheValueSelectedOrNot) {
  const auto window = MakeWindow();
  SelectManual(*window);
  Fill(*window, {.timezon = "0"});
  auto *list = Find<HemisphereList>(*window, "List1");
  list->SetListIndex(-1);
  list->scrollToItem(list->item(1), QAbstractItemView::PositionAtTop); // scrolled only
  EXPECT_TRUE(list->selectedItems().isEmpty());
  EXPECT_EQ(list->TopIndex(), 1);
  ASSERT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
  EXPECT_LT(window->lastInput().LongHours, 0) << "West was in view";
  list->SetListIndex(0); // select by index: scrolls it into view
  EXPECT_EQ(list->TopIndex(), 0);
}

TEST(Keyboard, EnterPressesCalculateWhileEnabledEscapeEnds) {
  for (const char *focus : {"TimeHour", "DateDay", "Town"}) {
    SCOPED_TRACE(focus);
    const auto window = MakeWindow();
    ShowAndActivate(*window);
    EXPECT_TRUE(Find(*window, "DateDay")->isAncestorOf(QApplication::focusWidget()));
    Fill(*window, {.longGrad = "0", .longMin = "0", .timezon = "0", .day = "1",
                   .month = "1", .year = "2000"});
    const auto press = [&](Qt::Key key) {
      ShowAndActivate(*window);
      Find(*window, focus)->setFocus();
      return RunClosingMessages([&] { QTest::keyClick(Find(*window, focus), key); });
    };
    press(Qt::Key_Return); // tracking: Calculate is disabled
    EXPECT_EQ(TextOf(*window, "JulianDate"), "");
    SelectManual(*window);
    press(Qt::Key_Return);
    EXPECT_EQ(TextOf(*window, "JulianDate"), "51544.5");
    SetTextOf(*window, "TimeHour", "24");
    EXPECT_EQ(press(Qt::Key_Enter), QStringList{"Uncorrect input Hours!"});
    press(Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(Find<QTimer>(*window, "Timer1")->isActive());
  }
}

} // namespace
} // namespace ostrel::testing
