// SPDX-License-Identifier: GPL-3.0-or-later
// The day window (frmDay): the Sun's day at the main window's site and
// date as a list of events (DayEvents), the rising and setting of a chosen
// altitude (DayAltitude), the altitude over the day (DayChart) and the
// path across the sky (SunPath), each picture savable as PNG or SVG.
//
// The main window hands it the site and date of each calculation; the day's
// events and curves are computed again only when these change, so a tick of
// real-time tracking only moves the present-moment marks.
#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>

#include "core/day_events.h"
#include "core/sun_day.h"

class QAbstractItemView;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QStandardItemModel;

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

  // What the window shows, for tests and the screenshot tool.
  const DayEvents &events() const;

public slots:
  // Saves DayChart or SunPath (`which`) to `path` as PNG or SVG by its
  // suffix; false, after one message box saying why, on failure or an
  // unknown picture or suffix.
  bool savePicture(const QString &path, const QString &which);
};

} // namespace ostrel
