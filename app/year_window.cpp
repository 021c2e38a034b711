// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/year_window.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <chrono>
#include <span>
#include <iterator>
#include <string>

#include "app/languages.h"
#include "app/picture_file.h"
#include "core/day/day_table.h"
#include "core/events/icalendar.h"
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
    {"SaveCalendar", {"Save as calendar...", "Сохранить как календарь..."}},
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

// The table's columns, with the time of direct sun after the day's length
// for an observer: the core's list, which `ostrel-cli table` writes too.
std::vector<std::string> ColumnNames(bool observer) {
  const std::span<const TableColumn> columns = TableColumnList(observer);
  std::vector<std::string> names(columns.size());
  std::transform(columns.begin(), columns.end(), names.begin(),
                 [](const TableColumn &column) { return std::string(column.name); });
  return names;
}

std::vector<std::string> RowFields(const YearDay &day) {
  return TableFields(day.date, day.events, TableColumnList(day.events.observer.has_value()));
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
constexpr Bilingual kCalendarTitle{"Save the year's events as a calendar",
                                   "Сохранить события года как календарь"};
constexpr Bilingual kCalendarFilter{"iCalendar files (*.ics)", "Файлы iCalendar (*.ics)"};
constexpr Bilingual kChoiceTitle{"Events of the calendar", "События календаря"};
// Why a calendar was not saved.
constexpr Bilingual kNoYear{"there is no year to save yet", "ещё нет года для сохранения"};
constexpr Bilingual kNoEvents{"no event is chosen", "не выбрано ни одного события"};
constexpr Bilingual kNoSuchEvent{"there is no event called \"%1\"", "нет события «%1»"};

// The choice of the calendar's events: a check box a row, each row the keys
// of `ostrel-cli ics --events` it stands for.  Sunrise and sunset are
// chosen at first.
struct CalendarChoiceRow {
  const char *name; // the check box's objectName
  Bilingual caption;
  const char *keys;
  bool chosen;
};
constexpr CalendarChoiceRow kCalendarChoice[] = {
    {"CalendarSunriseSunset", {"Sunrise and sunset", "Восход и заход"}, "sunrise,sunset", true},
    {"CalendarGoldenHours",
     {"Golden hours", "Золотые часы"},
     "morning_golden_hour,evening_golden_hour",
     false},
    {"CalendarBlueHours", {"Blue hours", "Синие часы"}, "morning_blue_hour,evening_blue_hour", false},
    {"CalendarCivilTwilight",
     {"Civil dawn and dusk", "Гражданские сумерки"},
     "civil_dawn,civil_dusk",
     false},
    {"CalendarNauticalTwilight",
     {"Nautical dawn and dusk", "Навигационные сумерки"},
     "nautical_dawn,nautical_dusk",
     false},
    {"CalendarAstronomicalTwilight",
     {"Astronomical dawn and dusk", "Астрономические сумерки"},
     "astronomical_dawn,astronomical_dusk",
     false},
    {"CalendarMoonriseMoonset",
     {"Moonrise and moonset", "Восход и заход Луны"},
     "moonrise,moonset",
     false},
    {"CalendarMoonQuarters",
     {"The Moon's quarters", "Фазы Луны"},
     "new_moon,first_quarter,full_moon,last_quarter",
     false},
    {"CalendarSeasons",
     {"Equinoxes and solstices", "Равноденствия и солнцестояния"},
     "march_equinox,june_solstice,september_equinox,december_solstice",
     false},
};

// The keys chosen in a small dialog of check boxes; none when it is
// cancelled.  OK is enabled while at least one box is checked.
std::optional<QStringList> ChooseCalendarKeys(QWidget *parent, bool russian) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("CalendarChoice"));
  dialog.setWindowTitle(kChoiceTitle.In(russian));
  auto *layout = new QVBoxLayout(&dialog);
  std::vector<QCheckBox *> boxes;
  for (const CalendarChoiceRow &row : kCalendarChoice) {
    auto *box = new QCheckBox(row.caption.In(russian), &dialog);
    box->setObjectName(QString::fromLatin1(row.name));
    box->setChecked(row.chosen);
    layout->addWidget(box);
    boxes.push_back(box);
  }
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  const auto anyChecked = [&boxes, buttons] {
    buttons->button(QDialogButtonBox::Ok)
        ->setEnabled(std::any_of(boxes.begin(), boxes.end(),
                                 [](const QCheckBox *box) { return box->isChecked(); }));
  };
  for (QCheckBox *box : boxes) QObject::connect(box, &QCheckBox::toggled, &dialog, anyChecked);
  anyChecked();
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  QStringList keys;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (boxes[i]->isChecked())
      keys += QString::fromLatin1(kCalendarChoice[i].keys).split(QLatin1Char(','));
  }
  return keys;
}

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
  SaveCalendar = new QPushButton(this);
  SaveCalendar->setObjectName(QStringLiteral("SaveCalendar"));
  // Nothing to save before the first year is shown.
  SaveCsv->setEnabled(false);
  SavePicture->setEnabled(false);
  SaveCalendar->setEnabled(false);
  connect(SaveCsv, &QPushButton::clicked, this, &YearWindow::AskCsvPath);
  connect(SavePicture, &QPushButton::clicked, this, &YearWindow::AskPicturePath);
  connect(SaveCalendar, &QPushButton::clicked, this, &YearWindow::AskCalendarPath);

  auto *splitter = new QSplitter(Qt::Vertical, this);
  splitter->addWidget(YearTable);
  splitter->addWidget(chart_);
  splitter->setChildrenCollapsible(false);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(SaveCsv);
  buttons->addWidget(SavePicture);
  buttons->addWidget(SaveCalendar);
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
  SaveCalendar->setEnabled(true);
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

bool YearWindow::saveCalendar(const QString &path, const QStringList &keys) {
  const auto fail = [this](const QString &why) {
    ShowSaveFailure(this, why);
    return false;
  };
  if (!site_)
    return fail(CouldNotSave(path, kNoYear.In(russian_), russian_));
  if (keys.isEmpty())
    return fail(CouldNotSave(path, kNoEvents.In(russian_), russian_));
  CalendarRequest request;
  for (const QString &key : keys) {
    const std::optional<CalendarEvent> event = ParseCalendarEvent(key.toStdString());
    if (!event)
      return fail(CouldNotSave(path, kNoSuchEvent.In(russian_).arg(key), russian_));
    request.events.push_back(*event);
  }
  request.site = *site_;
  request.from = {year_, 1, 1};
  request.to = {year_, 12, 31};
  request.theory = daysTheory_;
  // Sunrise and sunset on the observer's horizon, as the table has them.
  request.observer = observer_.Horizon();
  if (request.observer)
    request.site.elevationM = request.observer->observer().elevationM;
  request.russian = russian_;
  request.stampSeconds = QDateTime::currentSecsSinceEpoch();
  const float offset = site_->Timezon;
  request.offsetOn = [offset](const CivilDate &) { return offset; };
  QString why;
  if (SaveFileBytes(path, QByteArray::fromStdString(WriteCalendar(request)), russian_, why))
    return true;
  return fail(why);
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

void YearWindow::AskCalendarPath() {
  QString path = QFileDialog::getSaveFileName(this, kCalendarTitle.In(russian_),
                                              QStringLiteral("ostrel-year-%1.ics").arg(year_),
                                              kCalendarFilter.In(russian_));
  if (path.isEmpty())
    return;
  if (QFileInfo(path).suffix().isEmpty())
    path += QStringLiteral(".ics");
  const std::optional<QStringList> keys = ChooseCalendarKeys(this, russian_);
  if (keys)
    saveCalendar(path, *keys);
}

} // namespace ostrel
