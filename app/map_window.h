// SPDX-License-Identifier: GPL-3.0-or-later
// The map window (frmMap): the world map (WorldMap) at the main window's
// last calculated moment, with the moment in UTC and in the site's local
// time under it and the five shades' legend; two sliders that move the
// shown moment by hours over the day and by days over the year without
// changing the main window, "Now" that brings it back to the main window's
// moment, and the picture saved as PNG or SVG.  A click on the map asks
// the main window to take that point as its site (pointChosen).
#pragma once

#include <QDateTime>
#include <QWidget>

#include <optional>

#include "core/map/overhead.h"
#include "core/sun/theory.h"

class QLabel;
class QPushButton;
class QSlider;

namespace ostrel {

class WorldMap;

class MapWindow : public QWidget {
  Q_OBJECT
public:
  explicit MapWindow(QWidget *parent = nullptr);

  // The main window's last calculation: its moment in UTC, its site and
  // zone, and whether it is a tick of real-time tracking.  The map shows
  // that moment moved by the sliders.
  void ShowMoment(const QDateTime &utc, const Site &site, bool tracking);
  void SetRussian(bool russian);
  void SetTheory(Theory theory);

  WorldMap *map() const { return map_; }

public slots:
  // The map with its moment and legend as PNG or SVG by the suffix of
  // `path`; false, after one message box saying why, on failure.
  bool savePicture(const QString &path);

signals:
  // A click on the map: latitude and longitude, degrees.
  void pointChosen(double latitude, double longitude);

private:
  // The shown moment: the main window's moved by the sliders.
  void ShowShifted();
  void ShowMomentText();
  void AskPicturePath();

  WorldMap *map_ = nullptr;
  QWidget *picture_ = nullptr; // the map, the moment and the legend
  QLabel *momentText_ = nullptr;
  QLabel *hourText_ = nullptr, *dayText_ = nullptr;
  QSlider *hourSlider_ = nullptr, *daySlider_ = nullptr;
  QPushButton *now_ = nullptr, *savePicture_ = nullptr;
  bool russian_ = false;

  QDateTime base_; // the main window's moment, UTC
  std::optional<Site> site_;
  bool tracking_ = false;
};

} // namespace ostrel
