// SPDX-License-Identifier: GPL-3.0-or-later
// What a tick shows when it leaves unchanged texts alone: every new text
// still reaches its control, a field whose text stays keeps its cursor, and
// a result label whose text stays is not repainted.

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "window_test_support.h"

namespace ostrel::testing {
namespace {

// The texts of the last run's report, in the order of the result labels.
QStringList ReportTexts(const MainWindow &window) {
  QStringList texts;
  for (const auto &[name, text] : SunReport::Labels)
    texts << QString::fromStdString(window.ephemeris().report.*text);
  return texts;
}

QStringList DateAndTime(const MainWindow &window) {
  QStringList fields;
  for (const char *name : {"DateDay", "DateMonth", "DateYear", "TimeHour", "TimeMin", "TimeSec"})
    fields << TextOf(window, name);
  return fields;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
  explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
  int paints = 0;

protected:
  bool eventFilter(QObject *, QEvent *event) override {
    paints += event->type() == QEvent::Paint;
    return false;
  }
};

// Ticks one after another across the changes of a second, a minute, an
// hour, a day, a month and a year, then back in time and at a repeated
// moment: after each one every field and every result label shows its
// text, whichever texts stayed.
TEST(TickDisplay, EveryNewTextIsShown) {
  const std::pair<QDateTime, QStringList> rows[] = {
      {{QDate(2011, 12, 31), QTime(23, 58, 58)}, {"31", "12", "2011", "23", "58", "58"}},
      {{QDate(2011, 12, 31), QTime(23, 58, 59)}, {"31", "12", "2011", "23", "58", "59"}},
      {{QDate(2011, 12, 31), QTime(23, 59, 0)}, {"31", "12", "2011", "23", "59", "0"}},
      {{QDate(2012, 1, 1), QTime(0, 0, 0)}, {"1", "1", "2012", "0", "0", "0"}},
      {{QDate(2012, 1, 1), QTime(0, 0, 1)}, {"1", "1", "2012", "0", "0", "1"}},
      {{QDate(2012, 1, 1), QTime(0, 0, 1)}, {"1", "1", "2012", "0", "0", "1"}},
      {{QDate(2011, 6, 21), QTime(12, 0, 0)}, {"21", "6", "2011", "12", "0", "0"}},
  };
  auto clock = std::make_shared<FakeClock>();
  const auto window = MakeWindow(clock);
  for (const auto &[now, fields] : rows) {
    SCOPED_TRACE(now.toString(Qt::ISODate).toStdString());
    clock->now = now;
    window->Timer1_Timer();
    EXPECT_EQ(DateAndTime(*window), fields);
    EXPECT_EQ(ResultTexts(*window), ReportTexts(*window));
  }
  // "Calculate" after the ticks shows its own results in full too.
  SelectManual(*window);
  Fill(*window, {.latGrad = "89", .month = "12"});
  EXPECT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
  EXPECT_EQ(ResultTexts(*window), ReportTexts(*window));
}

// A tick leaves a field whose text stays as it is, cursor included;
// "Calculate" writes every field back, which puts the cursor at the end.
TEST(TickDisplay, AFieldWhoseTextStaysKeepsItsCursor) {
  auto clock = std::make_shared<FakeClock>();
  clock->now = QDateTime(QDate(2011, 6, 21), QTime(12, 30, 0));
  const auto window = MakeWindow(clock);
  window->Timer1_Timer();
  auto *hour = Find<QLineEdit>(*window, "TimeHour");
  auto *second = Find<QLineEdit>(*window, "TimeSec");
  auto *latitude = Find<QLineEdit>(*window, "LatGrad");
  for (QLineEdit *field : {hour, second, latitude})
    field->setCursorPosition(0);
  clock->now = clock->now.addSecs(15);
  window->Timer1_Timer();
  EXPECT_EQ(hour->text(), "12");
  EXPECT_EQ(hour->cursorPosition(), 0) << "the hour stayed";
  EXPECT_EQ(latitude->cursorPosition(), 0) << "the site stayed";
  EXPECT_EQ(second->text(), "15");
  EXPECT_EQ(second->cursorPosition(), 2) << "the seconds changed";

  SelectManual(*window);
  latitude->setCursorPosition(0);
  EXPECT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
  EXPECT_EQ(latitude->text(), "47");
  EXPECT_EQ(latitude->cursorPosition(), 2);
}

// A shown window: after a tick one second later the sidereal seconds are
// repainted, the day of the year, which stays, is not.
TEST(TickDisplay, AResultLabelWhoseTextStaysIsNotRepainted) {
  auto clock = std::make_shared<FakeClock>();
  const auto window = MakeWindow(clock);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  window->Timer1_Timer();
  QTest::qWait(50);
  const QString sidereal = TextOf(*window, "SidSec");
  PaintCounter dayOfYear(Find(*window, "DOY"));
  PaintCounter siderealSeconds(Find(*window, "SidSec"));

  clock->now = clock->now.addSecs(1);
  window->Timer1_Timer();
  QTest::qWait(50);
  ASSERT_NE(TextOf(*window, "SidSec"), sidereal);
  EXPECT_GE(siderealSeconds.paints, 1);
  EXPECT_EQ(dayOfYear.paints, 0);
}

// A field typed into while tracking gets the clock's number again at the
// next tick, though the number itself stayed; a site field typed into is
// read again.
TEST(TickDisplay, AFieldTouchedBetweenTicksIsWrittenAgain) {
  auto clock = std::make_shared<FakeClock>();
  const auto window = MakeWindow(clock);
  window->Timer1_Timer();
  for (const char *name : {"TimeHour", "DateYear"}) {
    SCOPED_TRACE(name);
    SetTextOf(*window, name, "7");
    clock->now = clock->now.addSecs(1);
    window->Timer1_Timer();
    EXPECT_EQ(DateAndTime(*window), (QStringList{"21", "6", "2011", "12", "0", QString::number(clock->now.time().second())}));
  }
  SetTextOf(*window, "Timezon", "5");
  window->Timer1_Timer();
  EXPECT_EQ(window->lastInput().Timezon, 5.0f);
  window->Timer1_Timer();
  EXPECT_EQ(window->lastInput().Timezon, 5.0f);
}

// Numbers keep one width per digit, so that a value changing each second
// stands still: "11" is as wide as "12" in the fields and result labels,
// while the captions keep their kerning.
TEST(TickDisplay, NumbersKeepOneDigitWidth) {
  const auto window = MakeWindow();
  for (const char *name : {"TimeSec", "DateDay", "LongGrad", "SidSec", "DistAU"}) {
    const QFontMetrics metrics(Find(*window, name)->font());
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("11")),
              metrics.horizontalAdvance(QStringLiteral("12")))
        << name;
  }
  EXPECT_EQ(Find(*window, "Town")->font().styleStrategy() & QFont::PreferNoShaping, 0);
}

} // namespace
} // namespace ostrel::testing
