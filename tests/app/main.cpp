// SPDX-License-Identifier: GPL-3.0-or-later
// The window tests run without a display on Qt's offscreen platform, in a
// fixed English number format unless a test chooses another.

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char **argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
