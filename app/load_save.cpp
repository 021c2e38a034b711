// SPDX-License-Identifier: GPL-3.0-or-later
// The load step at start and "&Save settings": the settings file between
// the window and the disk.  The format itself is in settings_file.cpp.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSaveFile>

#include <cmath>

#include "app/hemisphere_list.h"
#include "app/languages.h"
#include "app/main_window.h"

namespace ostrel {
namespace {

// The file is one short line; a larger file is not a settings file of ours
// and is read only this far.
constexpr qint64 kLongestSettingsFile = qint64{64} * 1024;

bool IsListIndex(std::int16_t index) { return index >= -1 && index <= 1; }

} // namespace

// The constants of the calculation, then the settings file and the
// observer's own file beside it.  A missing or unreadable file leaves the
// window as designed, without a message.  All values are read before any
// is applied; a value that cannot be applied ends the load there, and what
// came before it stays.
void MainWindow::Form_Load() {
  ephemeris_.state.Pi = 3.1415926535;
  ephemeris_.state.Rad = 3.1415926535 / 180;

  QFile file(settingsPath_);
  if (file.open(QIODevice::ReadOnly)) {
    const auto settings = ReadSettings(file.read(kLongestSettingsFile));
    // Reading the list of towns takes tens of milliseconds: the saved town
    // is looked up there when its zone is first wanted (the first tick or
    // "Calculate"), not before the window first shows.
    relinkPending_ = settings && ApplySettings(*settings);
  }
  observer_ = ReadObserverSettings(ObserverSettingsPath(settingsPath_));
  // A period of 0 (none applied) means one second.
  if (TimerInterval == 0) {
    TimerInterval = 1000;
    me1_2->setChecked(true);
  }
}

// TimerInterval and AzimuthMode take their values only together with the
// timer period and the check marks that show them, so a load that ends
// early never leaves a value that its marks do not show.
bool MainWindow::ApplySettings(const Settings &s) {
  const std::int16_t interval = s.TimerInterval == 0 ? std::int16_t{1000} : s.TimerInterval;
  if (interval < 0)
    return false; // no timer runs backwards: the value is discarded
  TimerInterval = interval;
  SetTimerPeriod(TimerInterval);
  // Any other period keeps the marks as they are.
  const std::pair<int, QAction *> marks[] = {
      {1000, me1_2}, {3000, me1_3}, {5000, me1_4}, {10000, me1_5}};
  for (const auto &[milliseconds, item] : marks) {
    if (milliseconds != interval)
      continue;
    for (const auto &[unused, other] : marks)
      other->setChecked(other == item);
  }

  Town->setText(s.Town);
  LongGrad->setText(QString::fromStdString(NumText(s.LongGrad)));
  LongMin->setText(QString::fromStdString(NumText(s.LongMin)));
  if (!IsListIndex(s.List1))
    return false;
  List1->SetListIndex(s.List1);
  LatGrad->setText(QString::fromStdString(NumText(s.LatGrad)));
  LatMin->setText(QString::fromStdString(NumText(s.LatMin)));
  if (!IsListIndex(s.List2))
    return false;
  List2->SetListIndex(s.List2);
  Timezon->setText(QString::fromStdString(NumText(s.Timezon)));

  if (s.Language == QString::fromUtf8(languages::kRussianToken))
    ApplyRussian();
  ChooseAzimuthMode(s.AzimuthMode);
  ChooseTheory(s.theory);
  return true;
}

std::optional<Settings> MainWindow::CurrentSettings() const {
  const auto number = [](const QLineEdit *field) {
    return ParseNumber(field->text().toStdString());
  };
  Settings s;
  s.Town = Town->text();
  s.LongGrad = number(LongGrad);
  s.LongMin = RoundToSingle(number(LongMin));
  s.List1 = static_cast<std::int16_t>(List1->TopIndex());
  s.LatGrad = number(LatGrad);
  s.LatMin = RoundToSingle(number(LatMin));
  s.List2 = static_cast<std::int16_t>(List2->TopIndex());
  s.Timezon = RoundToSingle(number(Timezon));
  s.TimerInterval = TimerInterval;
  s.AzimuthMode = ephemeris_.state.AzimuthMode;
  s.Language = AzimSun->text();
  s.theory = ephemeris_.theory;
  for (const double value : {s.LongGrad, double(s.LongMin), s.LatGrad, double(s.LatMin),
                             double(s.Timezon)}) {
    if (!std::isfinite(value))
      return std::nullopt;
  }
  return s;
}

// Writes the window's values as they stand, checked or not.  The new file
// replaces the old one only once it is whole on the disk, so a save that
// fails leaves the previous settings; the user is told why.
void MainWindow::me1_7_Click() {
  const auto refuse = [this](const QString &reason) {
    ShowMessage(QStringLiteral("The settings could not be saved to \"%1\": %2.")
                    .arg(QDir::toNativeSeparators(settingsPath_), reason));
  };
  const auto settings = CurrentSettings();
  if (!settings) {
    refuse(QStringLiteral("a site field holds a number too large to keep"));
    return;
  }
  const auto line = WriteSettings(*settings);
  if (!line) {
    refuse(QStringLiteral("the town name holds characters that the file's code page "
                          "(Windows-1251) cannot keep"));
    return;
  }
  const QString folder = QFileInfo(settingsPath_).absolutePath();
  if (!QDir().mkpath(folder)) {
    refuse(QStringLiteral("the folder \"%1\" cannot be created")
               .arg(QDir::toNativeSeparators(folder)));
    return;
  }
  QSaveFile file(settingsPath_);
  if (!file.open(QIODevice::WriteOnly)) {
    refuse(file.errorString());
    return;
  }
  // Qt 6.4's commit() loses an error of its own final flush and can then
  // put a cut-off file in place: flush here and check it first.
  if (file.write(*line) != line->size() || !file.flush()) {
    const QString reason = file.errorString();
    file.cancelWriting();
    refuse(reason);
    return;
  }
  if (!file.commit())
    refuse(file.errorString());
}

} // namespace ostrel
