// SPDX-License-Identifier: GPL-3.0-or-later
// The observer the day and year windows answer for, and its own settings
// file: observer.ini (QSettings, INI form) in the folder of the one-line
// settings file, which never holds any of it.
//
//   [observer]
//   on=true
//   elevation_m=1000
//   eye_m=800
//   pressure_hpa=950          (absent: the standard atmosphere's)
//   temperature_c=10
//   horizon_file=/home/user/valley.txt
//   horizon_points="0 2\n90 10\n..."
//
// The skyline is kept as the points read from its file when it was chosen,
// so that it comes back at the next start even when the file has moved;
// the file's path is kept to name it.  A value that is missing or wrong is
// left at its default and the rest are kept; an observer that is not on is
// no observer, and every result is then what it is without one.
#pragma once

#include <QString>

#include <optional>

#include "core/observer/horizon_profile.h"
#include "core/observer/observer.h"
#include "core/observer/observer_day.h"

namespace ostrel {

struct ObserverChoice {
  bool on = false;
  Observer observer;
  // The file the skyline was read from (empty for none) and its points.
  QString horizonFile;
  HorizonProfile profile;

  // The horizon the core's observer day takes; none when not on.
  std::optional<ObserverHorizon> Horizon() const;
};

bool operator==(const ObserverChoice &a, const ObserverChoice &b);

// observer.ini beside the one-line settings file at `settingsPath`.
QString ObserverSettingsPath(const QString &settingsPath);

// The values of the file at `path`; an absent or unreadable file is no
// observer.  Each value is taken only if the core's checks accept it
// together with the values taken before it (elevation, eye, pressure,
// temperature), and the skyline only if its points read back whole.
ObserverChoice ReadObserverSettings(const QString &path);

// Writes `choice` to `path`, the folder made if need be; false with the
// reason in `why` when the file cannot be written.
bool WriteObserverSettings(const QString &path, const ObserverChoice &choice, QString &why);

// What the day window's title adds for the observer, in the window's
// language: " — 1000 m, eye 800 m, horizon valley.txt" (the eye, the
// pressure, a temperature other than 10 °C and the skyline only when
// given); empty when no observer is on.
QString ObserverTitle(const ObserverChoice &choice, bool russian);

} // namespace ostrel
