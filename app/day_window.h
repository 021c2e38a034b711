// SPDX-License-Identifier: GPL-3.0-or-later
// The day window (frmDay): the Sun's day at the main window's site and
// date as a list of events (DayEvents), the rising and setting of a chosen
// altitude (DayAltitude), the altitude over the day (DayChart) and the
// path across the sky (SunPath), each picture savable as PNG or SVG.
//
// The main window hands it the site and date of each calculation, and its
// theory; the day's events and curves are computed again only when one of
// these changes, so a tick of real-time tracking only moves the
// present-moment marks.
#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

#include "core/day/day_events.h"
#include "core/sun/theory.h"

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace ostrel {

class DayChart;
class SunPathChart;

class DayWindow : public QWidget {
  Q_OBJECT
public:
  explicit DayWindow(QWidget *parent = nullptr);

  // The site and local date of the main window's last calculation, its
  // azimuth convention (FromNorth, FromSouth, FromSouthSigned) for the sky's
  // rim labels, and the present moment in local hours of that date while
  // real-time tracking (none in manual mode).
  void ShowDay(const Site &site, CivilDate date, std::int16_t azimuthMode,
               std::optional<double> presentLocalHours);
  // The captions of the window in English or Russian.
  void SetRussian(bool russian);
  // The theory of the days shown from the next ShowDay on (at first the
  // classic one).
  void SetTheory(Theory theory);

  // What the window shows, for tests and the screenshot tool.
  const DayEvents &events() const;

public slots:
  // Saves DayChart or SunPath (`which`) to `path` as PNG or SVG by its
  // suffix; false, after one message box saying why, on failure or an
  // unknown picture or suffix.
  bool savePicture(const QString &path, const QString &which);

private:
  // What the shown events and curves were computed for.
  struct Shown {
    Site site;
    CivilDate date;
    Theory theory;
  };
  // The events, the curves and the marks of a new site or date.
  void ComputeDay(const Site &site, CivilDate date);
  // The rising and setting of DayAltitude's value, into events_.altitudes.
  void ComputeAltitude();
  // The list's rows from events_ in the window's language.
  void ShowRows();
  // Asks for a file and saves the picture `which` there.
  void AskAndSave(const QString &which);

  std::optional<Shown> shown_;
  Theory theory_ = Theory::Classic;
  std::unique_ptr<SunDay> day_;
  DayEvents events_;
  bool russian_ = false;

  QStandardItemModel *rows_ = nullptr;
  QTableView *eventList_ = nullptr;
  QDoubleSpinBox *altitudeBox_ = nullptr;
  DayChart *dayChart_ = nullptr;
  SunPathChart *sunPath_ = nullptr;
};

} // namespace ostrel
