// Ostrel: the Sun's position and the circumstances of its day for any site.

#include <QApplication>
#include <QStandardPaths>

#include "app/main_window.h"

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
  ostrel::MainWindow window(SettingsPath());
  window.show();
  return app.exec();
}
