// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/year_window.h"

#include <QAbstractTableModel>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <string>

#include "app/languages.h"
#include "app/picture_file.h"
#include "core/day/day_table.h"
#include "core/observer/observer_day.h"

namespace ostrel {

// The year's rows as the table fields give them, 12 texts a date (13 for
// an observer): a plain vector, since a model of an item per cell would
// hold some 4,400 items.
class YearTableModel final : public QAbstractTableModel {
public:
  using Row = std::vector<QString>;
  using QAbstractTableModel::QAbstractTableModel;

  // The captions set the number of columns; the rows have as many texts.
  void SetTable(Row headers, std::vector<Row> rows) {
    beginResetModel();
    headers_ = std::move(headers);
    rows_ = std::move(rows);
    endResetModel();
  }
  void SetHeaders(Row headers) {
    if (headers.size() != headers_.size()) {
      SetTable(std::move(headers), std::move(rows_));
      return;
    }
    headers_ = std::move(headers);
    emit headerDataChanged(Qt::Horizontal, 0, int(headers_.size()) - 1);
  }

  int rowCount(const QModelIndex &parent = {}) const override {
    return parent.isValid() ? 0 : int(rows_.size());
  }
  int columnCount(const QModelIndex &parent = {}) const override {
    return parent.isValid() ? 0 : int(headers_.size());
  }
  QVariant data(const QModelIndex &index, int role) const override {
    if (!index.isValid() || index.row() >= int(rows_.size()))
      return {};
    const Row &row = rows_[std::size_t(index.row())];
    if (role == Qt::DisplayRole && index.column() < int(row.size()))
      return row[std::size_t(index.column())];
    if (role == Qt::TextAlignmentRole)
      return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
  }
  // Across, the column captions; down, the default, the row's number: the
  // day of the year.
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < int(headers_.size()))
      return headers_[std::size_t(section)];
    return QAbstractTableModel::headerData(section, orientation, role);
  }

private:
  std::vector<Row> rows_;
  Row headers_;
};

namespace {

// The window's captions, one row a control (the window's own name for its
// title).
constexpr languages::Caption kCaptions[] = {
    {"frmYear", {"Year table", "Таблица года"}},
    {"SaveCsv", {"Save as CSV...", "Сохранить как CSV..."}},
    {"SavePicture", {"Save picture...", "Сохранить рисунок..."}},
};

// The column captions, one row a column of the CSV by its name.  Dawn is
// the start of the morning twilight, dusk the end of the evening one.
constexpr languages::Caption kColumnCaptions[] = {
    {"date", {"Date", "Дата"}},
    {"sunrise", {"Sunrise", "Восход"}},
    {"sunset", {"Sunset", "Заход"}},
    {"culmination", {"Culmination", "Кульминация"}},
    {"day_length", {"Day length", "Долгота дня"}},
    {"civil_dawn", {"Civil dawn", "Начало гражд. сумерек"}},
    {"civil_dusk", {"Civil dusk", "Конец гражд. сумерек"}},
    {"nautical_dawn", {"Nautical dawn", "Начало навиг. сумерек"}},
    {"nautical_dusk", {"Nautical dusk", "Конец навиг. сумерек"}},
    {"astronomical_dawn", {"Astronomical dawn", "Начало астр. сумерек"}},
    {"astronomical_dusk", {"Astronomical dusk", "Конец астр. сумерек"}},
    {"culmination_altitude", {"Culmination altitude, °", "Высота в кульминации, °"}},
    {"direct_sun", {"Direct sun", "Прямое солнце"}},
};

// The table's columns for an observer: the core's, with the time of direct
// sun after the day's length, as `ostrel-cli table` writes them with an
// observer's options.
constexpr const char *kDirectSunColumn = "direct_sun";
constexpr std::size_t kDirectSunAt = 5; // after date, sunrise, sunset, culmination, day_length
static_assert(kDirectSunAt < kTableColumns);

std::vector<std::string> ColumnNames(bool observer) {
  std::vector<std::string> names(TableColumns().begin(), TableColumns().end());
  if (observer)
    names.insert(names.begin() + kDirectSunAt, kDirectSunColumn);
  return names;
}

std::vector<std::string> RowFields(const YearDay &day) {
  const auto fields = TableFields(day.date, day.events);
  std::vector<std::string> row(fields.begin(), fields.end());
  if (day.events.observer)
    row.insert(row.begin() + kDirectSunAt, ClockText(day.events.observer->directSunSeconds));
  return row;
}

std::string CsvLine(const std::vector<std::string> &fields) {
  std::string line;
  for (const std::string &field : fields) {
    if (!line.empty())
      line += ',';
    line += field;
  }
  return line + '\n';
}

// The file dialogs.
constexpr Bilingual kCsvTitle{"Save the year table as CSV", "Сохранить таблицу года как CSV"};
constexpr Bilingual kCsvFilter{"CSV files (*.csv)", "Файлы CSV (*.csv)"};
constexpr Bilingual kPictureTitle{"Save the year chart", "Сохранить график года"};
constexpr Bilingual kPngFilter{"PNG pictures (*.png)", "Рисунки PNG (*.png)"};
constexpr Bilingual kSvgFilter{"SVG pictures (*.svg)", "Рисунки SVG (*.svg)"};

// Every date of the year with its events, as `ostrel-cli table` walks the
// dates (std::chrono) and asks for them (twilights only).
std::vector<YearDay> DaysOfYear(const Site &site, int year, Theory theory,
                                const std::optional<ObserverHorizon> &horizon) {
  namespace chrono = std::chrono;
  const chrono::sys_days first{chrono::year{year} / chrono::January / 1};
  const chrono::sys_days last{chrono::year{year} / chrono::December / 31};
  std::vector<YearDay> days;
  days.reserve(366);
  for (chrono::sys_days d = first; d <= last; d += chrono::days{1}) {
    const chrono::year_month_day ymd{d};
    const CivilDate date{int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
    days.push_back({date, horizon ? FindObserverDayEvents(theory, site, date, *horizon, {},
                                                          DayEventSet::Twilights)
                                  : FindDayEvents(*MakeSunDay(theory, site, date), {},
                                                  DayEventSet::Twilights)});
  }
  return days;
}

bool SameSite(const Site &a, const Site &b) {
  return a.LatRad == b.LatRad && a.LongHours == b.LongHours && a.Timezon == b.Timezon;
}

} // namespace

YearWindow::YearWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmYear"));

  model_ = new YearTableModel(this);
  YearTable = new QTableView(this);
  YearTable->setObjectName(QStringLiteral("YearTable"));
  YearTable->setModel(model_);
  YearTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  YearTable->setSelectionMode(QAbstractItemView::SingleSelection);
  YearTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  YearTable->setAlternatingRowColors(true);

  chart_ = new YearChart(this);

  SaveCsv = new QPushButton(this);
  SaveCsv->setObjectName(QStringLiteral("SaveCsv"));
  SavePicture = new QPushButton(this);
  SavePicture->setObjectName(QStringLiteral("SavePicture"));
  // Nothing to save before the first year is shown.
  SaveCsv->setEnabled(false);
  SavePicture->setEnabled(false);
  connect(SaveCsv, &QPushButton::clicked, this, &YearWindow::AskCsvPath);
  connect(SavePicture, &QPushButton::clicked, this, &YearWindow::AskPicturePath);

  auto *splitter = new QSplitter(Qt::Vertical, this);
  splitter->addWidget(YearTable);
  splitter->addWidget(chart_);
  splitter->setChildrenCollapsible(false);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(SaveCsv);
  buttons->addWidget(SavePicture);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(splitter, 1);
  layout->addLayout(buttons);

  resize(980, 760);
  SetRussian(false);
}

void YearWindow::ShowYear(const Site &site, CivilDate today) {
  const bool recompute =
      !site_ || !SameSite(*site_, site) || today.year != year_ || daysTheory_ != theory_;
  if (recompute) {
    site_ = site;
    year_ = today.year;
    daysTheory_ = theory_;
    ComputeYear();
  }
  const bool moved = recompute || today.month != today_.month || today.day != today_.day;
  today_ = today;
  if (moved) {
    chart_->SetToday(today);
    ShowTodayRow();
  }
}

void YearWindow::ComputeYear() {
  days_ = DaysOfYear(*site_, year_, daysTheory_, observer_.Horizon());
  std::vector<YearTableModel::Row> rows;
  rows.reserve(days_.size());
  for (const YearDay &day : days_) {
    const std::vector<std::string> fields = RowFields(day);
    YearTableModel::Row &row = rows.emplace_back();
    row.reserve(fields.size());
    std::transform(fields.begin(), fields.end(), std::back_inserter(row),
                   [](const std::string &field) { return QString::fromStdString(field); });
  }
  model_->SetTable(Headers(), std::move(rows));
  YearTable->resizeColumnsToContents();
  chart_->SetDays(days_);
  chart_->SetMoonQuarters(QuartersOnDates(days_.front().date, days_.back().date, site_->Timezon));
  SaveCsv->setEnabled(true);
  SavePicture->setEnabled(true);
}

void YearWindow::SetObserver(const ObserverChoice &choice) {
  observer_ = choice;
  if (!site_)
    return;
  ComputeYear();
  ShowTodayRow();
}

void YearWindow::ShowTodayRow() {
  for (std::size_t i = 0; i < days_.size(); ++i) {
    const CivilDate &date = days_[i].date;
    if (date.month == today_.month && date.day == today_.day) {
      const QModelIndex index = model_->index(int(i), 0);
      YearTable->setCurrentIndex(index);
      YearTable->scrollTo(index, QAbstractItemView::PositionAtCenter);
      return;
    }
  }
}

void YearWindow::SetRussian(bool russian) {
  russian_ = russian;
  for (const languages::Caption &row : kCaptions)
    languages::SetCaption(*this, row, russian);
  ShowHeaders();
  chart_->SetRussian(russian);
}

YearTableModel::Row YearWindow::Headers() const {
  YearTableModel::Row headers;
  for (const std::string &name : ColumnNames(observer_.on)) {
    QString &header = headers.emplace_back(QString::fromStdString(name));
    for (const languages::Caption &row : kColumnCaptions)
      if (header == QLatin1String(row.control))
        header = row.text.In(russian_);
  }
  return headers;
}

void YearWindow::ShowHeaders() {
  model_->SetHeaders(Headers());
  if (model_->rowCount() > 0)
    YearTable->resizeColumnsToContents();
}

void YearWindow::SetTheory(Theory theory) { theory_ = theory; }

bool YearWindow::saveCsv(const QString &path) {
  std::string csv = CsvLine(ColumnNames(observer_.on));
  csv.reserve(csv.size() + 121 * days_.size()); // a full row: 10 + 12 fields of up to 8, 12 commas
  for (const YearDay &day : days_)
    csv += CsvLine(RowFields(day));
  QString why;
  if (SaveFileBytes(path, QByteArray::fromStdString(csv), russian_, why))
    return true;
  ShowSaveFailure(this, why);
  return false;
}

bool YearWindow::savePicture(const QString &path) {
  QString why;
  if (SaveWidgetPicture(chart_, path, russian_, why))
    return true;
  ShowSaveFailure(this, why);
  return false;
}

// A name typed without a suffix takes the one of the type chosen.
void YearWindow::AskCsvPath() {
  QString path = QFileDialog::getSaveFileName(this, kCsvTitle.In(russian_),
                                              QStringLiteral("ostrel-year-%1.csv").arg(year_),
                                              kCsvFilter.In(russian_));
  if (path.isEmpty())
    return;
  if (QFileInfo(path).suffix().isEmpty())
    path += QStringLiteral(".csv");
  saveCsv(path);
}

void YearWindow::AskPicturePath() {
  const QString png = kPngFilter.In(russian_);
  const QString svg = kSvgFilter.In(russian_);
  QString chosen = png;
  QString path = QFileDialog::getSaveFileName(this, kPictureTitle.In(russian_),
                                              QStringLiteral("ostrel-year-%1.png").arg(year_),
                                              png + QStringLiteral(";;") + svg, &chosen);
  if (path.isEmpty())
    return;
  if (QFileInfo(path).suffix().isEmpty())
    path += chosen == svg ? QStringLiteral(".svg") : QStringLiteral(".png");
  savePicture(path);
}

} // namespace ostrel
