// SPDX-License-Identifier: GPL-3.0-or-later
// The day window (frmDay): the Sun's day at the main window's site and
// date as a list of events (DayEvents), the rising and setting of a chosen
// altitude (DayAltitude), the passages of a chosen azimuth (DayAzimuth),
// the altitude over the day (DayChart) and the path across the sky
// (SunPath), each picture savable as PNG or SVG; and
// the Moon's day at the same site and date: its events and phase in a
// second list (MoonEvents) below the Sun's, its altitude and path drawn on
// the same two pictures, and its phase at 12:00 as a small disc on SunPath.
//
// The Moon has a list of its own, not rows at the end of DayEvents: the
// Sun's list keeps its rows and their order as programs and users know it,
// and the Moon's rows (keys moonrise, moonset, moon_transit, moon_phase,
// carried in Qt::UserRole of the first column as the Sun's) read as one
// group under the Sun's.  The Moon is the core's MoonDay, whose theory is
// the precise one whatever theory the Sun's day follows.
//
// With an observer (the "Observer..." dialog, app/observer_settings.h) the
// day is the observer's: sunrise, sunset and the day's length on the
// observer's own horizon, rows visible_rising and visible_setting for each
// crossing of it and direct_sun for the time of direct sun after the day's
// length, the skyline and the dipped horizon on SunPath and the horizon
// under the Sun on DayChart, and the observer in the title.  Without one
// the window is as it has always been.
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

#include "core/day/azimuth_crossings.h"
#include "core/day/day_events.h"
#include "app/chart.h"
#include "app/observer_settings.h"
#include "core/moon/moon_day.h"
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
  // The observer of the days shown, from now on: the day shown is computed
  // again for it.
  void SetObserver(const ObserverChoice &choice);
  const ObserverChoice &observer() const { return observer_; }

  // What the window shows, for tests and the screenshot tool.
  const DayEvents &events() const;
  const MoonDayEvents &moonEvents() const { return moonEvents_; }
  // The passages of DayAzimuth's value; none while the box is off.
  const std::optional<AzimuthCrossings> &azimuthCrossings() const { return azimuth_; }

public slots:
  // Saves DayChart or SunPath (`which`) to `path` as PNG or SVG by its
  // suffix; false, after one message box saying why, on failure or an
  // unknown picture or suffix.
  bool savePicture(const QString &path, const QString &which);
  // The "Observer..." dialog; its values on OK, then observerChosen.
  void askObserver();

signals:
  // The user accepted the observer dialog: the window shows the new
  // observer's day already; the main window keeps it.
  void observerChosen(const ObserverChoice &choice);

private:
  // What the shown events and curves were computed for.
  struct Shown {
    Site site;
    CivilDate date;
    Theory theory;
  };
  // The events, the curves and the marks of a new site or date.
  void ComputeDay(const Site &site, CivilDate date);
  // The Moon's events, phase, curves and marks of a new site or date.
  void ComputeMoon(const Site &site, CivilDate date);
  // The rising and setting of DayAltitude's value, into events_.altitudes.
  void ComputeAltitude();
  // The passages of DayAzimuth's value, into azimuth_ and onto SunPath.
  void ComputeAzimuth();
  // The list's rows from events_ in the window's language.
  void ShowRows();
  // The Moon's list's rows from moonEvents_ and moonNoon_.
  void ShowMoonRows();
  // Asks for a file and saves the picture `which` there.
  void AskAndSave(const QString &which);
  // The window's name, and the observer after it when one is on.
  void ShowTitle();
  // The skyline and the dipped horizon onto the charts (none without an
  // observer).
  void ShowHorizon(const std::vector<SunSample> &samples);

  std::optional<Shown> shown_;
  Theory theory_ = Theory::Classic;
  ObserverChoice observer_;
  std::unique_ptr<SunDay> day_;
  DayEvents events_;
  std::optional<AzimuthCrossings> azimuth_;
  std::unique_ptr<MoonDay> moonDay_;
  MoonDayEvents moonEvents_;
  MoonPlace moonNoon_; // at 12:00 local civil time of the date
  bool russian_ = false;

  QStandardItemModel *rows_ = nullptr;
  QTableView *eventList_ = nullptr;
  QStandardItemModel *moonRows_ = nullptr;
  QTableView *moonList_ = nullptr;
  QDoubleSpinBox *altitudeBox_ = nullptr;
  QDoubleSpinBox *azimuthBox_ = nullptr;
  DayChart *dayChart_ = nullptr;
  SunPathChart *sunPath_ = nullptr;
};

} // namespace ostrel
