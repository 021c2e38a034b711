// SPDX-License-Identifier: GPL-3.0-or-later
// The year window (frmYear): every date of the year of the main window's
// date at its site, as a table with the command line's table columns
// (YearTable) and as a chart of daylight and twilight (YearChart); the
// table saved as the same CSV as `ostrel-cli table`, the chart as PNG or
// SVG.
#pragma once

#include <QWidget>

#include "core/sun_day.h"

class QTableView;

namespace ostrel {

class YearChart;

class YearWindow : public QWidget {
  Q_OBJECT
public:
  explicit YearWindow(QWidget *parent = nullptr);

  // The site and the main window's date: the year shown is that date's,
  // and the date is marked as today.  The year is computed again only when
  // the site or the year changes.
  void ShowYear(const Site &site, CivilDate today);
  void SetRussian(bool russian);

public slots:
  // The table as `ostrel-cli table` writes it for the year, byte for byte.
  bool saveCsv(const QString &path);
  // YearChart as PNG or SVG by the suffix of `path`.
  bool savePicture(const QString &path);
};

} // namespace ostrel
