// SPDX-License-Identifier: GPL-3.0-or-later
// The year window (frmYear): every date of the year of the main window's
// date at its site, as a table with the command line's table columns
// (YearTable) and as a chart of daylight and twilight (YearChart); the
// table saved as the same CSV as `ostrel-cli table`, the chart as PNG or
// SVG, the year's events as an iCalendar file as `ostrel-cli ics` writes
// it.  For an observer the days are the observer's (sunrise, sunset and
// the day's length on its horizon), and the table and the CSV have the
// column direct_sun after day_length, as `ostrel-cli table` with the same
// observer's options writes them.
#pragma once

#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

#include "app/observer_settings.h"
#include "app/year_chart.h"
#include "core/sun/theory.h"

class QPushButton;
class QTableView;

namespace ostrel {

class YearTableModel;

class YearWindow : public QWidget {
  Q_OBJECT
public:
  explicit YearWindow(QWidget *parent = nullptr);

  // The site and the main window's date: the year shown is that date's,
  // and the date is marked as today.  The year is computed again only when
  // the site, the year or the theory changes.
  void ShowYear(const Site &site, CivilDate today);
  void SetRussian(bool russian);
  // The theory of the year shown from the next ShowYear on (at first the
  // classic one).
  void SetTheory(Theory theory);
  // The observer of the days shown: a year shown is computed again for it.
  void SetObserver(const ObserverChoice &choice);

public slots:
  // The table as `ostrel-cli table` writes it for the year and the theory,
  // byte for byte.
  bool saveCsv(const QString &path);
  // YearChart as PNG or SVG by the suffix of `path`.
  bool savePicture(const QString &path);
  // The events of `keys` (those of `ostrel-cli ics --events`) on every
  // date of the year shown, at the site's offset, in the theory and the
  // language of the window, as an iCalendar file: what `ostrel-cli ics`
  // writes for the same site, year, keys and --tz, DTSTAMP now.  False,
  // with one message box, where there is no year yet, a key names no event
  // (or none is given) or the file cannot be written.
  bool saveCalendar(const QString &path, const QStringList &keys);

private:
  // The buttons: a file dialog, then the slot above with the chosen path.
  void AskCsvPath();
  void AskPicturePath();
  // A file dialog, then the choice of events (CalendarChoice), then
  // saveCalendar.
  void AskCalendarPath();
  // The table's row of `today` made current and scrolled into view.
  void ShowTodayRow();
  // The days of site_, year_ and daysTheory_ for the observer, into the
  // table and the chart.
  void ComputeYear();
  // The column captions in the window's language, and into the table.
  std::vector<QString> Headers() const;
  void ShowHeaders();

  QTableView *YearTable = nullptr;
  YearChart *chart_ = nullptr;
  QPushButton *SaveCsv = nullptr, *SavePicture = nullptr, *SaveCalendar = nullptr;
  YearTableModel *model_ = nullptr;
  bool russian_ = false;

  Theory theory_ = Theory::Classic;
  // What is shown: the site, year and theory of the days, and the date
  // marked.  No site before the first ShowYear.
  std::optional<Site> site_;
  int year_ = 0;
  Theory daysTheory_ = Theory::Classic;
  ObserverChoice observer_;
  CivilDate today_;
  std::vector<YearDay> days_;
};

} // namespace ostrel
