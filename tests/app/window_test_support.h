// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the window tests: a window on a clock the test sets, field
// access by control name, and message boxes closed as soon as they open.
#pragma once

#include <QDateTime>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/day_window.h"
#include "app/main_window.h"

namespace ostrel::testing {

// The local date and time the window reads, and how often it read them.
struct FakeClock {
  QDateTime now{QDate(2011, 6, 21), QTime(12, 0, 0)};
  int readings = 0;
};

// A window with no settings file, reading `clock`.
std::unique_ptr<MainWindow> MakeWindow(std::shared_ptr<FakeClock> clock =
                                           std::make_shared<FakeClock>());

template <typename Widget = QWidget>
Widget *Find(const QWidget &window, const char *name) {
  auto *widget = window.findChild<Widget *>(QString::fromUtf8(name));
  if (!widget)
    ADD_FAILURE() << "no control " << name;
  return widget;
}

// Text of a label, text box, combo box or button; and of an input field.
QString TextOf(const QWidget &window, const char *name);
void SetTextOf(QWidget &window, const char *name, const QString &text);
// The texts of every result label.
QStringList ResultTexts(const MainWindow &window);

// The texts of the message boxes shown while `action` runs, each closed
// with OK at once; each must have the title "Ostrel" and one OK button.
QStringList RunClosingMessages(const std::function<void()> &action);

// The site and moment fields; rows 0 East/North, 1 West/South in view.
struct Input {
  QString longGrad = "28", longMin = "50", latGrad = "47", latMin = "0", timezon = "3";
  int list1 = 0, list2 = 0;
  QString day = "21", month = "6", year = "2011", hour = "12", minute = "0", second = "0";
};
void Fill(MainWindow &window, const Input &input);

// Selects "Manual" as the user does.
void SelectManual(MainWindow &window);

// The day window, opened from "View" as the user does.
DayWindow *OpenDay(MainWindow &window);

// Calculates `typed` by hand and opens the day window on it.
DayWindow *DayOf(MainWindow &window, const Input &typed);

// The rows of one of the day window's lists ("DayEvents" for the Sun's,
// "MoonEvents" for the Moon's): each row's key, caption and value.
struct Row {
  std::string key, caption, value;
};
std::vector<Row> RowsOf(const DayWindow &day, const char *list = "DayEvents");
// The row with `key` of a list; a failure, and an empty row, without one.
Row RowOf(const DayWindow &day, const std::string &key, const char *list = "DayEvents");

// The whole content of a file (empty when it cannot be read), and a file
// written with `bytes`.
QByteArray ReadFile(const QString &path);
void WriteFile(const QString &path, const QByteArray &bytes);

// After a failed save into `folder`: the old file, when there was one,
// still holds `old` and is the folder's only entry; else the folder is
// empty (no half-written file is left behind).
void ExpectOnlyOldFileLeft(const QString &folder, const char *oldFile, const QByteArray &old,
                           const char *what);

} // namespace ostrel::testing
