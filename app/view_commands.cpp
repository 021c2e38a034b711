// SPDX-License-Identifier: GPL-3.0-or-later
// The "View" menu: the day and the year windows, and how they follow the
// main window's calculations.

#include <QPushButton>
#include <QRadioButton>

#include <cmath>

#include "app/day_window.h"
#include "app/languages.h"
#include "app/main_window.h"
#include "app/year_window.h"

namespace ostrel {
namespace {

template <typename Window>
void Present(Window *window) {
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
  if (made) {
    frmDay = new DayWindow(this);
    frmDay->SetRussian(IsRussian());
  }
  Present(frmDay.data());
  if (made || calculated_)
    UpdateViews();
}

void MainWindow::me3_2_Click() {
  const bool made = !frmYear;
  if (made) {
    frmYear = new YearWindow(this);
    frmYear->SetRussian(IsRussian());
  }
  Present(frmYear.data());
  if (made || calculated_)
    UpdateViews();
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
}

} // namespace ostrel
