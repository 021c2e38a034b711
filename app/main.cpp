// SPDX-License-Identifier: GPL-3.0-or-later
// Ostrel: the Sun's position and the circumstances of its day for any site.

#include <QApplication>
#include <QStandardPaths>

#include "app/main_window.h"
#include "app/tick_log.h"

namespace {

// The one fixed place of the settings file.
QString SettingsPath() {
#ifdef Q_OS_WIN
  return QStringLiteral("c:\\ostrel.ini");
#else
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/ostrel.ini");
#endif
}

} // namespace

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  // The desktop entry's id, so that docks match the window to its launcher.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.ostrel.Ostrel"));
  ostrel::MainWindow window(SettingsPath());
  window.show();
  // Inert unless OSTREL_TICK_LOG is set: the tick benchmark times the
  // shipped program itself rather than a copy of it built for timing.
  ostrel::InstallTickLog(window, "Timer1");
  return app.exec();
}
