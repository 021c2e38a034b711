// SPDX-License-Identifier: GPL-3.0-or-later
// The azimuth convention, the theory, the About boxes and the ways to end
// the program.

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/about_box.h"
#include "app/day_window.h"
#include "app/map_window.h"
#include "app/year_window.h"
#include "app/languages.h"
#include "app/main_window.h"

namespace ostrel {

// The number of degrees added to an azimuth counted from north; exactly one
// item is marked, that of the value (any value other than 0 and 180, as a
// settings file may hold, marks the signed convention).  Nothing is
// recalculated: the next tick or "Calculate" shows the new convention.
void MainWindow::ChooseAzimuthMode(std::int16_t mode) {
  ephemeris_.state.AzimuthMode = mode;
  QAction *marked = mode == FromNorth ? me1_12 : mode == FromSouth ? me1_13 : me1_14;
  for (QAction *item : {me1_12, me1_13, me1_14})
    item->setChecked(item == marked);
}

void MainWindow::me1_12_Click() { ChooseAzimuthMode(FromNorth); }
void MainWindow::me1_13_Click() { ChooseAzimuthMode(FromSouth); }
void MainWindow::me1_14_Click() { ChooseAzimuthMode(FromSouthSigned); }

void MainWindow::ChooseTheory(Theory theory) {
  ephemeris_.theory = theory;
  me1_16->setChecked(theory == Theory::Classic);
  me1_17->setChecked(theory == Theory::Precise);
  ShowTitle(IsRussian());
  if (frmDay)
    frmDay->SetTheory(theory);
  if (frmYear)
    frmYear->SetTheory(theory);
  if (frmMap)
    frmMap->SetTheory(theory);
}

// Unlike the azimuth convention, a theory shows at once: the same site and
// moment in the other theory is what the user wants to compare.  In manual
// mode that is the last calculation's site and moment, whatever the fields
// hold now (edited, not yet calculated); before any calculation there is
// nothing to show again.  While tracking, a tick now.
void MainWindow::SwitchTheory(Theory theory) {
  const bool changed = theory != ephemeris_.theory;
  ChooseTheory(theory); // marks the item again when it was the marked one
  if (!changed)
    return;
  if (Option1->isChecked()) {
    Timer1_Timer();
  } else if (calculated_) {
    // The azimuth convention is the one marked now, as for any calculation.
    const std::int16_t azimuthMode = ephemeris_.state.AzimuthMode;
    ephemeris_.state = lastInput_;
    ephemeris_.state.AzimuthMode = azimuthMode;
    Calculate();
  }
  // The day and year windows follow even where no calculation ran (a tick
  // that refused its site).
  UpdateViews();
}

void MainWindow::me1_16_Click() { SwitchTheory(Theory::Classic); }
void MainWindow::me1_17_Click() { SwitchTheory(Theory::Precise); }

void MainWindow::ShowTitle(bool russian) {
  setWindowTitle(ephemeris_.theory == Theory::Classic ? QString::fromUtf8(languages::kTitle)
                                                      : languages::kPreciseTitle.In(russian));
}

// The language is read from the caption of "Cancel".  Each box is made on
// first use and shown modeless, without an owner: the main window stays in
// use and tracking goes on.  Showing it again brings the same box forward.
void MainWindow::me2_1_Click() {
  const bool english = Command1->text() == QLatin1String(languages::kEnglishCancel);
  QPointer<AboutBox> &box = english ? frmAbout : frmAbout_rus;
  if (!box)
    box = new AboutBox(english ? AboutBox::Language::English : AboutBox::Language::Russian);
  box->show();
  box->raise();
  box->activateWindow();
}

void MainWindow::me1_6_Click() { EndProgram(); }

void MainWindow::EndProgram() {
  Timer1->stop();
  QApplication::closeAllWindows();
  QCoreApplication::quit();
}

// Closed by its title-bar button, the main window takes every window with
// it, an open About box too, and saves nothing.
void MainWindow::closeEvent(QCloseEvent *event) {
  Timer1->stop();
  for (AboutBox *box : {frmAbout.data(), frmAbout_rus.data()}) {
    if (box)
      box->close();
  }
  for (QWidget *view : {static_cast<QWidget *>(frmDay.data()), static_cast<QWidget *>(frmYear.data()),
                        static_cast<QWidget *>(frmMap.data())}) {
    if (view)
      view->close();
  }
  event->accept();
  QCoreApplication::quit();
}

} // namespace ostrel
