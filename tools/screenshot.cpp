// SPDX-License-Identifier: GPL-3.0-or-later
// ostrel_screenshot DIRECTORY
//
// Renders Ostrel's main window after a calculation, in English and in
// Russian, to DIRECTORY/window-english.png and DIRECTORY/window-russian.png,
// and the day and year windows opened from it to DIRECTORY/day-*.png and
// DIRECTORY/year-*.png and the world map to DIRECTORY/map-*.png (the
// README's pictures in docs/), and checks that
// every caption and value is shown whole.  The site is the window's own default (Kishinev, no
// settings file is read) and the moment a fixed one, so a picture changes
// only when the window does.  Runs on Qt's offscreen platform unless
// QT_QPA_PLATFORM says otherwise, so it needs no display.
//
// Exit status: 0 when both pictures are written and every text fits, 1 when
// a text is cut, a picture cannot be made or written, 2 on a wrong command
// line.

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "app/main_window.h"
#include "tools/caption_fit.h"

namespace {

// The moment of both pictures: a summer afternoon, local time of the site.
const QDateTime kMoment(QDate(2026, 6, 21), QTime(14, 30, 0));

struct Language {
  const char *name;        // for the messages and the file name
  QLocale locale;          // the user's regional settings: decimal sign
  const char *switchSlot;  // the window's slot that switches to it, or null
};

void Report(const QString &text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }

// The size of the day and year windows in the pictures, pixels.
constexpr QSize kViewSize(1000, 640);

bool Save(QWidget &widget, const Language &language, const QDir &output, const char *stem) {
  bool good = true;
  for (const ostrel::tools::Misfit &misfit : ostrel::tools::FindMisfits(widget)) {
    Report(QStringLiteral("%1: cut text: %2")
               .arg(QLatin1String(language.name), ostrel::tools::Describe(misfit)));
    good = false;
  }
  const QString file =
      output.filePath(QStringLiteral("%1-%2.png").arg(QLatin1String(stem), QLatin1String(language.name)));
  if (!widget.grab().save(file, "PNG")) {
    Report(QStringLiteral("%1: cannot write %2").arg(QLatin1String(language.name), file));
    return false;
  }
  std::printf("%s\n", qPrintable(file));
  return good;
}

// Opens a window of the View menu by its slot and pictures it.
bool RenderView(ostrel::MainWindow &window, const char *slot, const char *name, const char *stem,
                const Language &language, const QDir &output) {
  if (!QMetaObject::invokeMethod(&window, slot, Qt::DirectConnection)) {
    Report(QStringLiteral("%1: the window has no slot %2()")
               .arg(QLatin1String(language.name), QLatin1String(slot)));
    return false;
  }
  auto *view = window.findChild<QWidget *>(QLatin1String(name));
  if (!view) {
    Report(QStringLiteral("%1: %2() made no %3")
               .arg(QLatin1String(language.name), QLatin1String(slot), QLatin1String(name)));
    return false;
  }
  view->resize(kViewSize);
  QApplication::processEvents();
  return Save(*view, language, output, stem);
}

// Makes one picture; false after reporting what went wrong.
bool Render(const Language &language, const QString &settingsPath, const QDir &output) {
  // The window reads the user's decimal sign once, when it is built.
  QLocale::setDefault(language.locale);
  ostrel::MainWindow window(settingsPath, [] { return kMoment; });
  if (language.switchSlot &&
      !QMetaObject::invokeMethod(&window, language.switchSlot, Qt::DirectConnection)) {
    Report(QStringLiteral("%1: the window has no slot %2(), so it cannot be shown in %1")
               .arg(QLatin1String(language.name), QLatin1String(language.switchSlot)));
    return false;
  }

  // The fixed site and moment need no message; should one open all the
  // same (a changed default that no longer passes the checks), it is closed
  // and the picture refused rather than waiting for a click.
  bool messageShown = false;
  QTimer closer;
  closer.setInterval(0);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
      Report(QStringLiteral("%1: unexpected message \"%2\"")
                 .arg(QLatin1String(language.name), box->text()));
      messageShown = true;
      box->done(QMessageBox::Ok);
    }
  });
  closer.start();

  // One tick of real-time tracking computes the site for the clock's
  // moment; then the clock stops, so that the picture shows that moment.
  window.Timer1_Timer();
  if (auto *timer = window.findChild<QTimer *>(QStringLiteral("Timer1")))
    timer->stop();
  window.show();
  QApplication::processEvents();
  closer.stop();
  if (messageShown)
    return false;

  bool good = Save(window, language, output, "window");
  good = RenderView(window, "me3_1_Click", "frmDay", "day", language, output) && good;
  good = RenderView(window, "me3_2_Click", "frmYear", "year", language, output) && good;
  good = RenderView(window, "me3_3_Click", "frmMap", "map", language, output) && good;
  return good;
}

} // namespace

int main(int argc, char *argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) {
    Report(QStringLiteral("usage: ostrel_screenshot DIRECTORY"));
    return 2;
  }
  const QDir output(QString::fromLocal8Bit(argv[1]));
  if (!output.mkpath(QStringLiteral("."))) {
    Report(QStringLiteral("cannot make the directory %1").arg(output.path()));
    return 1;
  }
  // A settings file that does not exist: the window starts as designed,
  // whatever the user running this has saved.
  const QTemporaryDir home;
  if (!home.isValid()) {
    Report(QStringLiteral("cannot make a temporary directory"));
    return 1;
  }
  const QString settingsPath = home.filePath(QStringLiteral("ostrel.ini"));

  const Language languages[] = {
      {"english", QLocale(QLocale::English, QLocale::UnitedStates), nullptr},
      {"russian", QLocale(QLocale::Russian, QLocale::Russia), "ApplyRussian"},
  };
  bool good = true;
  for (const Language &language : languages)
    good = Render(language, settingsPath, output) && good;
  return good ? 0 : 1;
}
