// SPDX-License-Identifier: GPL-3.0-or-later
// The "View" menu: the day and the year windows, and how they follow the
// main window's calculations.

#include <QDir>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

#include "app/day_window.h"
#include "app/languages.h"
#include "app/main_window.h"
#include "app/map_window.h"
#include "app/year_window.h"

namespace ostrel {
namespace {

// The moment of a calculation in UTC: the local date's 0 h UT, its day's
// fraction and the UT hours (the local time less the zone).  A tick's
// single-precision hours are a few milliseconds off its whole second: the
// moment is taken to the nearest millisecond, and a tick's to the second.
QDateTime CalculatedMoment(const CalcState &input, bool tick) {
  const double wholeDay = std::floor(input.DateDay);
  const QDateTime midnight(QDate(int(input.DateYear), int(input.DateMonth), int(wholeDay)),
                           QTime(0, 0), Qt::UTC);
  const double hours = (input.DateDay - wholeDay) * 24 + input.UtHours;
  const qint64 step = tick ? 1000 : 1;
  return midnight.addMSecs(std::llround(hours * 3600000 / double(step)) * step);
}

// Makes the window on first use in the main window's language and theory,
// and brings it to the front where it is; the day and year windows take
// the observer too.
template <typename Window>
void Open(QPointer<Window> &window, MainWindow *owner, bool russian, Theory theory,
          const ObserverChoice *observer = nullptr) {
  if (!window) {
    window = new Window(owner);
    window->SetRussian(russian);
    window->SetTheory(theory);
    if constexpr (requires { window->SetObserver(*observer); }) {
      if (observer)
        window->SetObserver(*observer);
    }
  }
  window->show();
  window->raise();
  window->activateWindow();
}

} // namespace

bool MainWindow::IsRussian() const {
  return Command1->text() != QLatin1String(languages::kEnglishCancel);
}

void MainWindow::me3_1_Click() {
  const bool made = !frmDay;
  Open(frmDay, this, IsRussian(), ephemeris_.theory, &observer_);
  if (made)
    connect(frmDay, &DayWindow::observerChosen, this, &MainWindow::ChooseObserver);
  UpdateViews();
}

void MainWindow::me3_2_Click() {
  Open(frmYear, this, IsRussian(), ephemeris_.theory, &observer_);
  UpdateViews();
}

void MainWindow::me3_3_Click() {
  const bool made = !frmMap;
  Open(frmMap, this, IsRussian(), ephemeris_.theory);
  if (made)
    connect(frmMap, &MapWindow::pointChosen, this, &MainWindow::ChooseMapPoint);
  UpdateViews();
}

// The year window follows even when the file cannot be written; the user
// is told, and the observer holds until the program ends.
void MainWindow::ChooseObserver(const ObserverChoice &choice) {
  observer_ = choice;
  if (frmYear)
    frmYear->SetObserver(choice);
  const QString path = ObserverSettingsPath(settingsPath_);
  QString why;
  if (!WriteObserverSettings(path, choice, why))
    ShowMessage(QStringLiteral("The observer could not be saved to \"%1\": %2.")
                    .arg(QDir::toNativeSeparators(path), why));
}

// The site and date of the last calculation; in real-time tracking also the
// present moment, the local time of the tick.  A window that is hidden is
// brought up to date when it is shown again.
void MainWindow::UpdateViews() {
  if (!calculated_)
    return;
  const CalcState &input = lastInput_;
  const Site site{input.LatRad, input.LongHours, input.Timezon};
  const CivilDate date{int(input.DateYear), int(input.DateMonth), int(std::floor(input.DateDay))};
  if (frmDay && frmDay->isVisible()) {
    std::optional<double> present;
    if (Option1->isChecked())
      present = input.UtHours + double(input.Timezon);
    frmDay->ShowDay(site, date, input.AzimuthMode, present);
  }
  if (frmYear && frmYear->isVisible())
    frmYear->ShowYear(site, date);
  if (frmMap && frmMap->isVisible()) {
    const bool tracking = Option1->isChecked();
    frmMap->ShowMoment(CalculatedMoment(input, tracking), site, tracking);
  }
}

} // namespace ostrel
