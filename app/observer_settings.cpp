// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/observer_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

#include "app/bilingual.h"
#include "core/text/numtext.h"

namespace ostrel {
namespace {

constexpr const char *kOn = "observer/on";
constexpr const char *kElevation = "observer/elevation_m";
constexpr const char *kEye = "observer/eye_m";
constexpr const char *kPressure = "observer/pressure_hpa";
constexpr const char *kTemperature = "observer/temperature_c";
constexpr const char *kHorizonFile = "observer/horizon_file";
constexpr const char *kHorizonPoints = "observer/horizon_points";

// A number the file holds as text; none for a missing key or other text.
std::optional<double> NumberOf(const QSettings &file, const char *key) {
  bool ok = false;
  const double value = file.value(QLatin1String(key)).toString().trimmed().toDouble(&ok);
  return ok ? std::optional(value) : std::nullopt;
}

QString Text(double value) { return QString::fromStdString(NumText(value)); }

// The skyline's points as "azimuth altitude" lines, which the core reads
// back to the same doubles (17 digits).
QString PointsText(const HorizonProfile &profile) {
  QString text;
  for (const HorizonPoint &point : profile.points())
    text += QString::number(point.azimuthDeg, 'g', 17) + u' ' +
            QString::number(point.altitudeDeg, 'g', 17) + u'\n';
  return text;
}

constexpr Bilingual kEyeText{"eye %1 m", "глаз %1 м"};
constexpr Bilingual kMetres{"%1 m", "%1 м"};
constexpr Bilingual kPressureText{"%1 hPa", "%1 гПа"};
constexpr Bilingual kHorizonText{"horizon %1", "горизонт %1"};

} // namespace

std::optional<ObserverHorizon> ObserverChoice::Horizon() const {
  if (!on)
    return std::nullopt;
  return ObserverHorizon(observer, profile);
}

bool operator==(const ObserverChoice &a, const ObserverChoice &b) {
  const auto samePoints = [](const HorizonProfile &p, const HorizonProfile &q) {
    return std::equal(p.points().begin(), p.points().end(), q.points().begin(), q.points().end(),
                      [](const HorizonPoint &x, const HorizonPoint &y) {
                        return x.azimuthDeg == y.azimuthDeg && x.altitudeDeg == y.altitudeDeg;
                      });
  };
  return a.on == b.on && a.observer.elevationM == b.observer.elevationM &&
         a.observer.eyeM == b.observer.eyeM && a.observer.pressureHpa == b.observer.pressureHpa &&
         a.observer.temperatureC == b.observer.temperatureC && a.horizonFile == b.horizonFile &&
         samePoints(a.profile, b.profile);
}

QString ObserverSettingsPath(const QString &settingsPath) {
  return QFileInfo(settingsPath).absolutePath() + QStringLiteral("/observer.ini");
}

ObserverChoice ReadObserverSettings(const QString &path) {
  ObserverChoice choice;
  if (!QFileInfo(path).isFile())
    return choice;
  const QSettings file(path, QSettings::IniFormat);
  choice.on = file.value(QLatin1String(kOn)).toString() == QLatin1String("true");
  // Each value joins those taken before it only if the core accepts them
  // together: an eye too high for the elevation read is left at 0.
  Observer &o = choice.observer;
  const auto take = [&o, &file](const char *key, const auto &put) {
    const std::optional<double> value = NumberOf(file, key);
    if (!value)
      return;
    Observer trial = o;
    put(trial, *value);
    if (!ObserverProblem(trial))
      o = trial;
  };
  take(kElevation, [](Observer &t, double v) { t.elevationM = v; });
  take(kEye, [](Observer &t, double v) { t.eyeM = v; });
  take(kPressure, [](Observer &t, double v) { t.pressureHpa = v; });
  take(kTemperature, [](Observer &t, double v) { t.temperatureC = v; });

  const QString horizonFile = file.value(QLatin1String(kHorizonFile)).toString();
  if (!horizonFile.isEmpty()) {
    const HorizonParse parse =
        ParseHorizonProfile(file.value(QLatin1String(kHorizonPoints)).toString().toStdString());
    if (parse.profile) {
      choice.horizonFile = horizonFile;
      choice.profile = *parse.profile;
    }
  }
  return choice;
}

bool WriteObserverSettings(const QString &path, const ObserverChoice &choice, QString &why) {
  const QString folder = QFileInfo(path).absolutePath();
  if (!QDir().mkpath(folder)) {
    why = QStringLiteral("the folder \"%1\" cannot be created").arg(QDir::toNativeSeparators(folder));
    return false;
  }
  QSettings file(path, QSettings::IniFormat);
  file.clear();
  const Observer &o = choice.observer;
  file.setValue(QLatin1String(kOn), choice.on ? QStringLiteral("true") : QStringLiteral("false"));
  file.setValue(QLatin1String(kElevation), Text(o.elevationM));
  file.setValue(QLatin1String(kEye), Text(o.eyeM));
  if (o.pressureHpa)
    file.setValue(QLatin1String(kPressure), Text(*o.pressureHpa));
  file.setValue(QLatin1String(kTemperature), Text(o.temperatureC));
  if (!choice.horizonFile.isEmpty()) {
    file.setValue(QLatin1String(kHorizonFile), choice.horizonFile);
    file.setValue(QLatin1String(kHorizonPoints), PointsText(choice.profile));
  }
  file.sync();
  if (file.status() == QSettings::NoError)
    return true;
  why = QStringLiteral("the file cannot be written");
  return false;
}

QString ObserverTitle(const ObserverChoice &choice, bool russian) {
  if (!choice.on)
    return {};
  const Observer &o = choice.observer;
  QStringList parts{kMetres.In(russian).arg(Text(o.elevationM))};
  if (o.eyeM != 0)
    parts << kEyeText.In(russian).arg(Text(o.eyeM));
  if (o.pressureHpa)
    parts << kPressureText.In(russian).arg(Text(*o.pressureHpa));
  if (o.temperatureC != kDefaultTemperatureC)
    parts << QStringLiteral("%1 °C").arg(Text(o.temperatureC));
  if (!choice.horizonFile.isEmpty())
    parts << kHorizonText.In(russian).arg(QFileInfo(choice.horizonFile).fileName());
  return QStringLiteral(" — ") + parts.join(QStringLiteral(", "));
}

} // namespace ostrel
