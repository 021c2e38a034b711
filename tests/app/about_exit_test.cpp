// SPDX-License-Identifier: GPL-3.0-or-later
// The About boxes and the four ways to end the program.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/about_box.h"
#include "window_test_support.h"

namespace ostrel::testing {
namespace {

QWidget *TopLevel(const char *name) {
  for (QWidget *widget : QApplication::topLevelWidgets())
    if (widget->objectName() == QLatin1String(name))
      return widget;
  return nullptr;
}

TEST(About, BoxOfTheLanguageMadeOnceHiddenByOk) {
  const auto window = MakeWindow();
  window->me2_1_Click();
  QWidget *english = TopLevel("frmAbout");
  ASSERT_NE(english, nullptr);
  EXPECT_TRUE(english->isVisible());
  EXPECT_FALSE(english->isModal());
  EXPECT_EQ(english->parentWidget(), nullptr);
  EXPECT_EQ(english->windowTitle(), "About Ostrel");
  EXPECT_EQ(Find<QLabel>(*english, "Label1")->text(), "Ostrel, Version 3.5");
  EXPECT_EQ(Find<QLabel>(*english, "Image1")->pixmap().size(), QSize(64, 64));

  window->me2_1_Click(); // no second box
  EXPECT_EQ(TopLevel("frmAbout"), english);
  QTest::keyClick(english, Qt::Key_Return); // Enter presses OK
  EXPECT_FALSE(english->isVisible());
  window->me2_1_Click();
  EXPECT_EQ(TopLevel("frmAbout"), english) << "OK hides; the box is shown again";
  EXPECT_TRUE(english->isVisible());

  window->ApplyRussian();
  Find<QAction>(*window, "me2_1")->trigger();
  QWidget *russian = TopLevel("frmAbout_rus");
  ASSERT_NE(russian, nullptr);
  EXPECT_EQ(russian->windowTitle(), QString::fromUtf8("О Остреле"));
  EXPECT_EQ(Find<QLabel>(*russian, "Label5")->text(), QString::fromUtf8("Приятной работы"));
  EXPECT_TRUE(english->isVisible()) << "both boxes may be open";
  Find<QPushButton>(*russian, "Command1")->click();
  EXPECT_FALSE(russian->isVisible());

  // Closed by its title-bar button the box is gone and made afresh.
  QPointer<QWidget> closed = russian;
  russian->show();
  russian->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(closed.isNull());
  window->me2_1_Click();
  ASSERT_NE(TopLevel("frmAbout_rus"), nullptr);
  EXPECT_TRUE(TopLevel("frmAbout_rus")->isVisible());
}

// Each way to end runs inside the event loop with an About box open: the
// loop must end, every window close, the timer stop and nothing be saved.
TEST(Ending, EveryWayClosesEveryWindowAndSavesNothing) {
  const std::pair<const char *, std::function<void(MainWindow &)>> ways[] = {
      {"Cancel", [](MainWindow &w) { Find<QPushButton>(w, "Command1")->click(); }},
      {"Esc",
       [](MainWindow &w) {
         w.activateWindow(); // the About box was the active window
         ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
         QTest::keyClick(Find(w, "Town"), Qt::Key_Escape);
       }},
      {"Exit", [](MainWindow &w) { Find<QAction>(w, "me1_6")->trigger(); }},
      {"title-bar close", [](MainWindow &w) { w.close(); }},
  };
  for (const auto &[what, end] : ways) {
    SCOPED_TRACE(what);
    QTemporaryDir folder;
    const QString path = folder.filePath("ostrel.ini");
    MainWindow window(path, [] { return QDateTime(QDate(2011, 6, 21), QTime(9, 0)); });
    window.show();
    window.me2_1_Click();
    QPointer<QWidget> about = TopLevel("frmAbout");
    ASSERT_TRUE(about);

    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    giveUp.start(5000);
    QTimer::singleShot(0, &window, [&window, &end] { end(window); });
    EXPECT_EQ(QApplication::exec(), 0) << "the program did not end";
    giveUp.stop();

    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(about.isNull() || !about->isVisible());
    EXPECT_FALSE(Find<QTimer>(window, "Timer1")->isActive());
    EXPECT_FALSE(QFile::exists(path));
  }
}

} // namespace
} // namespace ostrel::testing

namespace ostrel::testing {
namespace {

// The controls of the About boxes without a face of their own take the
// window's default face (8.25 pt regular, as the main window's Calculate
// button has it), not the toolkit's default.
TEST(About, DefaultFaceIsTheWindows) {
  const auto window = MakeWindow();
  const QFont windowDefault = Find<QPushButton>(*window, "Command2")->font();
  EXPECT_EQ(windowDefault.pixelSize(), 11);
  EXPECT_FALSE(windowDefault.bold());
  for (AboutBox::Language language : {AboutBox::Language::English, AboutBox::Language::Russian}) {
    AboutBox box(language);
    for (const char *name : {"Label3", "Command1"}) {
      const QFont font = Find(box, name)->font();
      EXPECT_EQ(font.pixelSize(), windowDefault.pixelSize()) << name;
      EXPECT_EQ(font.bold(), windowDefault.bold()) << name;
      EXPECT_EQ(font.families(), windowDefault.families()) << name;
    }
  }
}

} // namespace
} // namespace ostrel::testing
