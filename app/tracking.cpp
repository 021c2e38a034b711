// SPDX-License-Identifier: GPL-3.0-or-later
// Real-time tracking: the timer tick that follows the computer's clock, the
// two modes, and the timer interval menu.
//
//   mode                 selected   Timer1 period   site inputs, Calculate
//   real-time tracking   Option1    TimerInterval   disabled
//   manual               Option2    0 (stopped)     enabled

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <array>
#include <optional>

#include "app/field_text.h"
#include "app/main_window.h"

namespace ostrel {
namespace {

// Greatest latitude a tick accepts, radians.  Deliberately not the bound of
// "Calculate": the two handlers keep their own.
constexpr double kTrackingLatitudeBound = 1.5708;

} // namespace

void MainWindow::Timer1_Timer() {
  // A tick that falls due while a message is open is dropped, so a bad
  // input is reported once however long its message stays open.
  if (messageOpen_)
    return;

  // A town chosen from the list keeps its zone: the night the clocks change,
  // the time zone field takes the new offset before the site is read (the
  // changed field sends this tick back to the fields).  The clock's reading
  // serves the rest of the tick.
  std::optional<LocalMoment> reading;
  if (ZoneFollower *zone = LinkedZone()) {
    reading = clock_();
    const float hours = zone->OffsetHours(reading->date, reading->time);
    // A field as the last tick left it shows the offset that tick read.
    if (inputsTouched_ || hours != trackedSite_.Timezon.value)
      ShowZoneOffset(hours);
  }

  // While only ticks have written the fields, the site read last time is
  // what the fields hold, and they show the date and time written then.
  const bool fieldsAsLeft = !inputsTouched_;
  tickWriting_ = true;
  const SiteInput site = fieldsAsLeft ? trackedSite_ : ReadSite(WriteBack::IfChanged);
  tickWriting_ = false;
  SitePosition position;
  if (const char *message = CheckSite(site, kTrackingLatitudeBound, position)) {
    FallBackToManual(message);
    return;
  }
  // One reading of the clock serves the whole tick, so the fields, the date
  // and the time of day cannot fall on different days around midnight.
  const LocalMoment now = reading ? *reading : clock_();
  const QDate date = now.date;
  const QTime time = now.time;
  // Mostly only the seconds change: a field keeps a number that stays.
  const std::array<int, 6> clockFields{date.day(), date.month(), date.year(),
                                       time.hour(), time.minute(), time.second()};
  tickWriting_ = true;
  const auto show = [&](auto *field, std::size_t i) {
    if (!fieldsAsLeft || clockFields[i] != shownClock_[i])
      SetFieldNumber(field, clockFields[i]);
  };
  show(DateDay, 0);
  show(DateMonth, 1);
  show(DateYear, 2);
  show(TimeHour, 3);
  show(TimeMin, 4);
  show(TimeSec, 5);
  tickWriting_ = false;
  trackedSite_ = site;
  shownClock_ = clockFields;
  inputsTouched_ = false;

  WriteSite(site, position);
  CalcState &state = ephemeris_.state;
  state.DateYear = date.year();
  state.DateMonth = date.month();
  state.DateDay = date.day();
  // Tracking keeps UT hours, and the day with its UT fraction, in single
  // precision; the seconds since midnight include their fraction.
  const double secondsSinceMidnight = time.msecsSinceStartOfDay() / 1000.0;
  const float utHours =
      static_cast<float>(secondsSinceMidnight / 3600 - double(site.Timezon.value));
  state.UtHours = utHours;
  state.DayUt = static_cast<float>(state.DateDay + (utHours / 24.0f));
  Calculate();
}

void MainWindow::FallBackToManual(const char *text) {
  Timer1->stop();
  ShowMessage(QString::fromUtf8(text));
  // Selecting "Manual" runs Option2_Click, which enables the inputs.
  Option2->setChecked(true);
}

void MainWindow::Option1_Click() {
  EnableTrackingInputs(false);
  // The first tick, and with it the first result, comes one period later.
  SetTimerPeriod(TimerInterval);
}

void MainWindow::Option2_Click() {
  EnableTrackingInputs(true);
  SetTimerPeriod(0);
}

void MainWindow::ChooseTimerInterval(std::int16_t milliseconds, QAction *chosen) {
  TimerInterval = milliseconds;
  // In manual mode the timer stays stopped: a tick would overwrite the date
  // and time the user typed.  The period applies when tracking is selected.
  if (Option1->isChecked())
    SetTimerPeriod(TimerInterval);
  for (QAction *item : {me1_2, me1_3, me1_4, me1_5})
    item->setChecked(item == chosen);
}

void MainWindow::me1_2_Click() { ChooseTimerInterval(1000, me1_2); }
void MainWindow::me1_3_Click() { ChooseTimerInterval(3000, me1_3); }
void MainWindow::me1_4_Click() { ChooseTimerInterval(5000, me1_4); }
void MainWindow::me1_5_Click() { ChooseTimerInterval(10000, me1_5); }

} // namespace ostrel
