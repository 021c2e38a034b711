// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/day_window.h"

#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <span>
#include <string_view>

#include "app/day_chart.h"
#include "app/languages.h"
#include "app/observer_dialog.h"
#include "app/picture_file.h"
#include "app/sun_path_chart.h"
#include "core/day/day_table.h"
#include "core/observer/observer_day.h"
#include "core/sun/shadow.h"
#include "core/text/numtext.h"

namespace ostrel {
namespace {

// The window's captions, one row a control (the window's own name for its
// title).
constexpr languages::Caption kCaptions[] = {
    {"frmDay", {"Sun's day", "День Солнца"}},
    {"DayAltitudeCaption", {"Sun at altitude", "Солнце на высоте"}},
    {"DayAzimuthCaption", {"Sun at azimuth", "Солнце на азимуте"}},
    {"SaveDayChart", {"Save picture...", "Сохранить рисунок..."}},
    {"SaveSunPath", {"Save picture...", "Сохранить рисунок..."}},
    {"MoonEventsCaption", {"The Moon", "Луна"}},
    {"ObserverButton", {"Observer...", "Наблюдатель..."}},
};
constexpr Bilingual kColumns[] = {{"Event", "Событие"}, {"Time", "Время"}};
constexpr Bilingual kSaveTitle{"Save picture", "Сохранить рисунок"};
// Why a picture was not saved; %1 is the name asked for.
constexpr Bilingual kNoSuchPicture{"there is no picture called \"%1\"", "нет рисунка «%1»"};

// Why an event does not happen, in the words of ostrel-cli's `day`; %1 is
// the level it crosses.
constexpr Bilingual kAlwaysAbove{"the Sun stays above %1 all day", "Солнце весь день выше %1"};
constexpr Bilingual kAlwaysBelow{"the Sun stays below %1 all day", "Солнце весь день ниже %1"};
constexpr Bilingual kOtherDate{"it falls on the day before or after",
                               "приходится на день до или после"};
constexpr Bilingual kNoDayLength{"sunrise and sunset do not frame one day",
                                 "восход и заход не ограничивают один день"};

// The Moon's, in the words of ostrel-cli's `day --body moon`: moonrise and
// moonset are the upper limb on the apparent horizon, whose altitude
// changes with the Moon's distance, so the reason names the horizon rather
// than a level in degrees.
constexpr Bilingual kMoonAlwaysAbove{"the Moon stays above the horizon all day",
                                     "Луна весь день выше горизонта"};
constexpr Bilingual kMoonAlwaysBelow{"the Moon stays below the horizon all day",
                                     "Луна весь день ниже горизонта"};

// The Moon's rows, in the order of ostrel-cli's `day --body moon`.
struct MoonEventRow {
  const char *key;
  Bilingual caption;
  DayMoment MoonDayEvents::*moment;
};
const MoonEventRow kMoonEventRows[] = {
    {"moonrise", {"Moonrise", "Восход Луны"}, &MoonDayEvents::moonrise},
    {"moonset", {"Moonset", "Заход Луны"}, &MoonDayEvents::moonset},
    {"moon_transit", {"Moon's upper transit", "Верхняя кульминация Луны"}, &MoonDayEvents::transit},
};
constexpr Bilingual kMoonPhase{"Moon's phase at 12:00", "Фаза Луны в 12:00"};
// %1 is the phase's name, %2 the lit part of the disc in whole percent.
constexpr Bilingual kPhaseLit{"%1, %2% lit", "%1, освещено %2%"};

constexpr Bilingual kDayLength{"Duration of day", "Долгота дня"};
// %1 is the altitude.
constexpr Bilingual kAltitudeRising{"Sun at %1, rising", "Солнце на высоте %1, подъём"};
constexpr Bilingual kAltitudeSetting{"Sun at %1, setting", "Солнце на высоте %1, спуск"};
// The passages of an azimuth, in the words of ostrel-cli's `day --azimuth`:
// %1 is the azimuth; in a passage, %1 is the time, %2 the Sun's true
// altitude there.
constexpr Bilingual kAzimuthCrossing{"Sun at azimuth %1", "Солнце на азимуте %1"};
constexpr Bilingual kAzimuthPassage{"%1  altitude %2°", "%1  высота %2°"};
constexpr Bilingual kNotPassed{"the Sun does not pass it on this date",
                               "Солнце не проходит его в эту дату"};
// The observer's rows: each crossing of the observer's horizon (the upper
// limb on the skyline or the dipped horizon), and the time of direct sun.
constexpr Bilingual kVisibleRising{"Sun appears", "Солнце появляется"};
constexpr Bilingual kVisibleSetting{"Sun disappears", "Солнце скрывается"};
constexpr Bilingual kDirectSun{"Direct sun", "Прямое солнце"};

// The skyline drawn on SunPath: its altitude every quarter degree of
// azimuth and at each of its points, so that a notch keeps its edges.
constexpr int kSkylineStepsPerDegree = 4;

// DayAzimuth starts off, at this value shown as a dash, so that the list
// keeps its rows until an azimuth is asked for.
constexpr double kAzimuthOff = -1;

// An azimuth as ostrel-cli writes it: to 0.001 degree, no sign.
QString AzimuthText(double azimuthDeg) {
  return QString::fromStdString(NumText(std::round(azimuthDeg * 1000) / 1000)) + QChar(0x00B0);
}

// The days whose paths the sky shows beside the date's: the solstices, and
// the March equinox, which falls on March 20 in most years from 1700 to 2100
// (on the 19th or 21st in some; a day moves the path by at most 0.4
// degrees of declination).
struct ComparedDate {
  int month, day;
  Bilingual name;
};
const ComparedDate kComparedDates[] = {
    {6, 21, {"Jun 21", "21 июня"}},
    {3, 20, {"Mar 20", "20 марта"}},
    {12, 21, {"Dec 21", "21 декабря"}},
};

// The curves are sampled every 5 minutes: 1.25 degrees of hour angle, so a
// straight line between samples stays within a pixel of the path; every
// twelfth sample falls on a whole hour.
constexpr int kSamplesPerHour = 12;

// A level in degrees as ostrel-cli writes it: to 0.001, a sign above zero.
QString LevelText(double altitudeDeg) {
  const std::string text = NumText(std::round(altitudeDeg * 1000) / 1000);
  return QString::fromStdString((altitudeDeg > 0 ? "+" : "") + text) + QChar(0x00B0);
}

std::vector<SunSample> SampleDay(const SunDay &day) {
  std::vector<SunSample> samples;
  samples.reserve(24 * kSamplesPerHour + 1);
  for (int i = 0; i <= 24 * kSamplesPerHour; ++i) {
    const double hours = double(i) / kSamplesPerHour;
    const SunPlace place = day.PlaceAt(hours);
    samples.push_back({hours, place.altitudeDeg, place.azimuthDeg});
  }
  return samples;
}

// The observer's horizon around the circle, apparent altitudes, in order
// of azimuth.
std::vector<HorizonPoint> SkylineOf(const ObserverHorizon &horizon) {
  std::vector<double> azimuths;
  azimuths.reserve(std::size_t{360} * kSkylineStepsPerDegree + horizon.profile().points().size());
  for (int step = 0; step < 360 * kSkylineStepsPerDegree; ++step)
    azimuths.push_back(double(step) / kSkylineStepsPerDegree);
  std::transform(horizon.profile().points().begin(), horizon.profile().points().end(),
                 std::back_inserter(azimuths), [](const HorizonPoint &p) { return p.azimuthDeg; });
  std::sort(azimuths.begin(), azimuths.end());
  std::vector<HorizonPoint> skyline;
  skyline.reserve(azimuths.size());
  std::transform(azimuths.begin(), azimuths.end(), std::back_inserter(skyline),
                 [&horizon](double azimuthDeg) {
                   return HorizonPoint{azimuthDeg, horizon.ApparentAltitudeDeg(azimuthDeg)};
                 });
  return skyline;
}

SunSample SampleAt(const SunDay &day, double hours) {
  const SunPlace place = day.PlaceAt(hours);
  return {hours, place.altitudeDeg, place.azimuthDeg};
}

// A list's rows: the key a program reads (Qt::UserRole of the first
// column), the caption and the value.
struct ListRow {
  const char *key;
  QString caption, value;
};

void FillList(QStandardItemModel &model, QTableView &list, const std::vector<ListRow> &shown) {
  model.setRowCount(int(shown.size()));
  for (int i = 0; i < int(shown.size()); ++i) {
    auto *caption = new QStandardItem(shown[i].caption);
    caption->setData(QString::fromLatin1(shown[i].key), Qt::UserRole);
    model.setItem(i, 0, caption);
    model.setItem(i, 1, new QStandardItem(shown[i].value));
  }
  list.resizeColumnToContents(0);
}

QTableView *MakeList(QWidget *parent, const char *name, QStandardItemModel *model) {
  auto *list = new QTableView(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setModel(model);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->verticalHeader()->hide();
  list->horizontalHeader()->setStretchLastSection(true);
  list->setMinimumWidth(400);
  return list;
}

// "HH:MM" of a moment, as a clock shows it.
QString ClockMinutes(const DayMoment &moment) {
  return QString::fromStdString(ClockText(moment.seconds)).left(5);
}

} // namespace

DayWindow::DayWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmDay"));

  rows_ = new QStandardItemModel(0, 2, this);
  eventList_ = MakeList(this, "DayEvents", rows_);
  auto *moonCaption = new QLabel(this);
  moonCaption->setObjectName(QStringLiteral("MoonEventsCaption"));
  moonRows_ = new QStandardItemModel(0, 2, this);
  moonList_ = MakeList(this, "MoonEvents", moonRows_);
  moonList_->horizontalHeader()->hide();
  // Tall enough for its four rows without a scroll bar.
  moonList_->setFixedHeight(int(std::size(kMoonEventRows) + 1) *
                                moonList_->verticalHeader()->defaultSectionSize() +
                            2 * moonList_->frameWidth());

  auto *altitudeCaption = new QLabel(this);
  altitudeCaption->setObjectName(QStringLiteral("DayAltitudeCaption"));
  altitudeBox_ = new QDoubleSpinBox(this);
  altitudeBox_->setObjectName(QStringLiteral("DayAltitude"));
  // From the deepest twilight to the zenith, degrees of true altitude.
  altitudeBox_->setRange(kAstronomicalTwilightDeg, 90);
  altitudeBox_->setDecimals(1);
  altitudeBox_->setSingleStep(1);
  altitudeBox_->setSuffix(QStringLiteral("°"));
  altitudeBox_->setValue(10);
  altitudeCaption->setBuddy(altitudeBox_);
  connect(altitudeBox_, &QDoubleSpinBox::valueChanged, this, [this] {
    ComputeAltitude();
    ShowRows();
  });

  auto *azimuthCaption = new QLabel(this);
  azimuthCaption->setObjectName(QStringLiteral("DayAzimuthCaption"));
  azimuthBox_ = new QDoubleSpinBox(this);
  azimuthBox_->setObjectName(QStringLiteral("DayAzimuth"));
  // Degrees from north through east, as the core counts them; one step
  // below 0 is "off".
  azimuthBox_->setRange(kAzimuthOff, 360);
  azimuthBox_->setDecimals(1);
  azimuthBox_->setSingleStep(1);
  azimuthBox_->setSuffix(QStringLiteral("°"));
  azimuthBox_->setSpecialValueText(QStringLiteral("—"));
  azimuthBox_->setValue(kAzimuthOff);
  azimuthCaption->setBuddy(azimuthBox_);

  dayChart_ = new DayChart(this);
  sunPath_ = new SunPathChart(this);
  connect(azimuthBox_, &QDoubleSpinBox::valueChanged, this, [this] {
    ComputeAzimuth();
    ShowRows();
  });
  auto *saveDayChart = new QPushButton(this);
  saveDayChart->setObjectName(QStringLiteral("SaveDayChart"));
  connect(saveDayChart, &QPushButton::clicked, this, [this] { AskAndSave(QStringLiteral("DayChart")); });
  auto *observerButton = new QPushButton(this);
  observerButton->setObjectName(QStringLiteral("ObserverButton"));
  connect(observerButton, &QPushButton::clicked, this, &DayWindow::askObserver);
  auto *saveSunPath = new QPushButton(this);
  saveSunPath->setObjectName(QStringLiteral("SaveSunPath"));
  connect(saveSunPath, &QPushButton::clicked, this, [this] { AskAndSave(QStringLiteral("SunPath")); });

  // The list and the altitude on the left, the two pictures stacked on the
  // right; the pictures take what the window grows by.
  auto *altitudeRow = new QHBoxLayout;
  altitudeRow->addWidget(altitudeCaption);
  altitudeRow->addWidget(altitudeBox_);
  altitudeRow->addSpacing(12);
  altitudeRow->addWidget(azimuthCaption);
  altitudeRow->addWidget(azimuthBox_);
  altitudeRow->addStretch();
  altitudeRow->addWidget(observerButton);
  auto *listSide = new QVBoxLayout;
  listSide->addWidget(eventList_, 1);
  listSide->addLayout(altitudeRow);
  listSide->addWidget(moonCaption);
  listSide->addWidget(moonList_);
  const auto buttonRow = [](QPushButton *button) {
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(button);
    return row;
  };
  auto *pictureSide = new QVBoxLayout;
  pictureSide->addWidget(dayChart_, 2);
  pictureSide->addLayout(buttonRow(saveDayChart));
  pictureSide->addWidget(sunPath_, 3);
  pictureSide->addLayout(buttonRow(saveSunPath));
  auto *layout = new QHBoxLayout(this);
  layout->addLayout(listSide, 0);
  layout->addLayout(pictureSide, 1);
  resize(1080, 780);

  SetRussian(false);
}

void DayWindow::ShowDay(const Site &site, CivilDate date, std::int16_t azimuthMode,
                        std::optional<double> presentLocalHours) {
  const bool same = shown_ && shown_->site.LatRad == site.LatRad &&
                    shown_->site.LongHours == site.LongHours &&
                    shown_->site.Timezon == site.Timezon && shown_->date.year == date.year &&
                    shown_->date.month == date.month && shown_->date.day == date.day &&
                    shown_->theory == theory_;
  if (!same) {
    ComputeDay(site, date);
    shown_ = Shown{site, date, theory_};
  }
  sunPath_->SetAzimuthMode(azimuthMode);
  // A tick only places the two bodies now: the Sun's place and the Moon's
  // interpolated in its day, no search and no exact Moon.
  std::optional<SunSample> present, moonPresent;
  if (presentLocalHours) {
    present = SampleAt(*day_, *presentLocalHours);
    moonPresent = SampleAt(*moonDay_, *presentLocalHours);
  }
  dayChart_->SetPresent(present);
  sunPath_->SetPresent(present);
  // The light reaches the ground refracted: the apparent altitude.
  sunPath_->SetShadow(present ? ShadowOf(ApparentAltitude(present->altitudeDeg), present->azimuthDeg)
                              : std::nullopt);
  dayChart_->SetMoonPresent(moonPresent);
  sunPath_->SetMoonPresent(moonPresent);
}

void DayWindow::ComputeDay(const Site &plainSite, CivilDate date) {
  // The observer's elevation lifts the precise theory's site; the events
  // are the core's for the observer, as ostrel-cli's.
  const std::optional<ObserverHorizon> horizon = observer_.Horizon();
  Site site = plainSite;
  if (horizon)
    site.elevationM = horizon->observer().elevationM;
  day_ = MakeSunDay(theory_, site, date);
  const double level = altitudeBox_->value();
  events_ = horizon ? FindObserverDayEvents(theory_, plainSite, date, *horizon, std::span(&level, 1))
                    : FindDayEvents(*day_, std::span(&level, 1));

  std::vector<DayMark> marks;
  for (const auto &[kind, moment] : {std::pair{DayMark::Sunrise, events_.sunrise},
                                     std::pair{DayMark::Culmination, events_.culmination},
                                     std::pair{DayMark::Sunset, events_.sunset}}) {
    if (!moment.happens())
      continue;
    DayMark mark{kind, SampleAt(*day_, LocalHours(moment)), ClockMinutes(moment)};
    if (kind == DayMark::Culmination && events_.culminationAltitudeDeg)
      mark.text += QStringLiteral("  %1°").arg(*events_.culminationAltitudeDeg, 0, 'f', 1);
    marks.push_back(mark);
  }
  std::vector<SunSample> samples = SampleDay(*day_);
  std::vector<SunPathChart::ComparedPath> compared;
  std::transform(std::begin(kComparedDates), std::end(kComparedDates),
                 std::back_inserter(compared), [&](const ComparedDate &d) {
                   return SunPathChart::ComparedPath{
                       SampleDay(*MakeSunDay(theory_, site, {date.year, d.month, d.day})), d.name};
                 });
  std::vector<DayMark> risingAndSetting;
  std::copy_if(marks.begin(), marks.end(), std::back_inserter(risingAndSetting),
               [](const DayMark &mark) { return mark.kind != DayMark::Culmination; });
  sunPath_->SetPaths(samples, std::move(compared), std::move(risingAndSetting));
  ShowHorizon(samples);
  dayChart_->SetDay(std::move(samples), std::move(marks));
  ComputeAzimuth();
  ShowRows();
  ComputeMoon(site, date);
}

void DayWindow::ShowHorizon(const std::vector<SunSample> &samples) {
  const std::optional<ObserverHorizon> horizon = observer_.Horizon();
  if (!horizon) {
    sunPath_->SetHorizon({}, std::nullopt);
    dayChart_->SetHorizon({});
    return;
  }
  sunPath_->SetHorizon(SkylineOf(*horizon), horizon->DipDeg());
  std::vector<SunSample> underSun;
  underSun.reserve(samples.size());
  std::transform(samples.begin(), samples.end(), std::back_inserter(underSun),
                 [&horizon](const SunSample &s) {
                   return SunSample{s.hours, horizon->ApparentAltitudeDeg(s.azimuthDeg), s.azimuthDeg};
                 });
  dayChart_->SetHorizon(std::move(underSun));
}

void DayWindow::ComputeMoon(const Site &site, CivilDate date) {
  moonDay_ = std::make_unique<MoonDay>(site, date);
  moonEvents_ = FindMoonDayEvents(*moonDay_);
  // As `ostrel-cli day --body moon` gives the phase: exactly, at 12:00.
  moonNoon_ = MoonPlaceAt(site, moonDay_->JulianDateUt(12));

  std::vector<DayMark> marks;
  for (const auto &[kind, moment] : {std::pair{DayMark::Moonrise, moonEvents_.moonrise},
                                     std::pair{DayMark::MoonTransit, moonEvents_.transit},
                                     std::pair{DayMark::Moonset, moonEvents_.moonset}}) {
    if (moment.happens())
      marks.push_back({kind, SampleAt(*moonDay_, LocalHours(moment)), ClockMinutes(moment)});
  }
  std::vector<SunSample> samples = SampleDay(*moonDay_);
  std::vector<DayMark> risingAndSetting;
  std::copy_if(marks.begin(), marks.end(), std::back_inserter(risingAndSetting),
               [](const DayMark &mark) { return mark.kind != DayMark::MoonTransit; });
  sunPath_->SetMoon(samples, std::move(risingAndSetting),
                    MoonPhaseLook{moonNoon_.illuminatedFraction, moonNoon_.brightLimbAngleDeg});
  dayChart_->SetMoon(std::move(samples), std::move(marks));
  ShowMoonRows();
}

void DayWindow::ShowMoonRows() {
  if (!moonDay_) {
    moonRows_->setRowCount(0);
    return;
  }
  std::vector<ListRow> shown;
  for (const MoonEventRow &row : kMoonEventRows) {
    const DayMoment &moment = moonEvents_.*row.moment;
    QString value;
    switch (moment.absence) {
    case Absence::None: value = QString::fromStdString(ClockText(moment.seconds)); break;
    case Absence::AlwaysAbove: value = kMoonAlwaysAbove.In(russian_); break;
    case Absence::AlwaysBelow: value = kMoonAlwaysBelow.In(russian_); break;
    case Absence::OtherDate: value = kOtherDate.In(russian_); break;
    }
    if (moment.happens() && row.moment == &MoonDayEvents::transit && moonEvents_.transitAltitudeDeg)
      value += QStringLiteral("  %1°").arg(*moonEvents_.transitAltitudeDeg, 0, 'f', 2);
    shown.push_back({row.key, row.caption.In(russian_), value});
  }
  const MoonPhaseNames &names = NamesOf(moonNoon_.phase);
  shown.push_back({"moon_phase", kMoonPhase.In(russian_),
                   kPhaseLit.In(russian_)
                       .arg(QString::fromUtf8(russian_ ? names.russian : names.english))
                       .arg(std::lround(moonNoon_.illuminatedFraction * 100))});
  FillList(*moonRows_, *moonList_, shown);
}

void DayWindow::ComputeAltitude() {
  if (!day_)
    return;
  events_.altitudes = {FindCrossings(*day_, altitudeBox_->value())};
}

void DayWindow::ComputeAzimuth() {
  azimuth_.reset();
  if (day_ && azimuthBox_->value() > kAzimuthOff)
    azimuth_ = FindAzimuthCrossings(*day_, azimuthBox_->value());
  if (!azimuth_) {
    sunPath_->SetAzimuth(std::nullopt, {});
    return;
  }
  std::vector<SunSample> passages;
  const double azimuthDeg = azimuth_->azimuthDeg;
  std::transform(azimuth_->passages.begin(), azimuth_->passages.end(),
                 std::back_inserter(passages), [azimuthDeg](const AzimuthPassage &passage) {
                   return SunSample{passage.seconds / 3600.0, passage.altitudeDeg, azimuthDeg};
                 });
  sunPath_->SetAzimuth(azimuth_->azimuthDeg, std::move(passages));
}

void DayWindow::ShowRows() {
  for (int column = 0; column < 2; ++column)
    rows_->setHeaderData(column, Qt::Horizontal, kColumns[column].In(russian_));
  if (!day_) {
    rows_->setRowCount(0);
    return;
  }
  const double horizonDeg = std::asin(day_->HorizonSinAltitude()) / kRad;
  const auto why = [&](Absence absence, double levelDeg) {
    switch (absence) {
    case Absence::AlwaysAbove: return kAlwaysAbove.In(russian_).arg(LevelText(levelDeg));
    case Absence::AlwaysBelow: return kAlwaysBelow.In(russian_).arg(LevelText(levelDeg));
    case Absence::OtherDate: return kOtherDate.In(russian_);
    case Absence::None: break;
    }
    return QString();
  };
  const auto timeOrWhy = [&](const DayMoment &moment, double levelDeg) {
    return moment.happens() ? QString::fromStdString(ClockText(moment.seconds))
                            : why(moment.absence, levelDeg);
  };

  std::vector<ListRow> shown;
  for (const DayEventRow &row : DayEventRows()) {
    const DayMoment &moment = row.moment(events_);
    QString value = timeOrWhy(moment, std::isnan(row.levelDeg) ? horizonDeg : row.levelDeg);
    if (moment.happens() && std::string_view(row.key) == "culmination" &&
        events_.culminationAltitudeDeg)
      value += QStringLiteral("  %1°").arg(*events_.culminationAltitudeDeg, 0, 'f', 2);
    shown.push_back({row.key, Bilingual{row.english, row.russian}.In(russian_), value});
  }
  shown.push_back({"day_length", kDayLength.In(russian_),
                   events_.dayLengthSeconds ? QString::fromStdString(DayLengthText(events_))
                                            : kNoDayLength.In(russian_)});
  if (events_.observer) {
    for (const VisibleSpan &span : events_.observer->visible) {
      if (span.rising.happens())
        shown.push_back({"visible_rising", kVisibleRising.In(russian_),
                         QString::fromStdString(ClockText(span.rising.seconds))});
      if (span.setting.happens())
        shown.push_back({"visible_setting", kVisibleSetting.In(russian_),
                         QString::fromStdString(ClockText(span.setting.seconds))});
    }
    shown.push_back({"direct_sun", kDirectSun.In(russian_),
                     QString::fromStdString(ClockText(events_.observer->directSunSeconds))});
  }
  for (const LevelCrossings &level : events_.altitudes) {
    const QString altitude = LevelText(level.altitudeDeg);
    shown.push_back({"altitude_rising", kAltitudeRising.In(russian_).arg(altitude),
                     timeOrWhy(level.rising, level.altitudeDeg)});
    shown.push_back({"altitude_setting", kAltitudeSetting.In(russian_).arg(altitude),
                     timeOrWhy(level.setting, level.altitudeDeg)});
  }
  if (azimuth_) {
    const QString caption = kAzimuthCrossing.In(russian_).arg(AzimuthText(azimuth_->azimuthDeg));
    if (azimuth_->passages.empty())
      shown.push_back({"azimuth_crossing", caption, kNotPassed.In(russian_)});
    const QString passageText = kAzimuthPassage.In(russian_);
    std::transform(azimuth_->passages.begin(), azimuth_->passages.end(), std::back_inserter(shown),
                   [&](const AzimuthPassage &passage) {
                     return ListRow{
                         "azimuth_crossing", caption,
                         passageText.arg(QString::fromStdString(ClockText(passage.seconds)))
                             .arg(passage.altitudeDeg, 0, 'f', 2)};
                   });
  }

  FillList(*rows_, *eventList_, shown);
}

void DayWindow::SetRussian(bool russian) {
  russian_ = russian;
  for (const languages::Caption &row : kCaptions)
    languages::SetCaption(*this, row, russian);
  ShowTitle();
  dayChart_->SetRussian(russian);
  sunPath_->SetRussian(russian);
  ShowRows();
  ShowMoonRows();
}

void DayWindow::SetTheory(Theory theory) { theory_ = theory; }

void DayWindow::SetObserver(const ObserverChoice &choice) {
  observer_ = choice;
  ShowTitle();
  if (shown_)
    ComputeDay(shown_->site, shown_->date);
}

void DayWindow::ShowTitle() {
  setWindowTitle(kCaptions[0].text.In(russian_) + ObserverTitle(observer_, russian_));
}

void DayWindow::askObserver() {
  ObserverDialog dialog(observer_, russian_, this);
  if (dialog.exec() != QDialog::Accepted || dialog.choice() == observer_)
    return;
  SetObserver(dialog.choice());
  emit observerChosen(observer_);
}

const DayEvents &DayWindow::events() const { return events_; }

void DayWindow::AskAndSave(const QString &which) {
  QString filter;
  QString path = QFileDialog::getSaveFileName(
      this, kSaveTitle.In(russian_), which + QStringLiteral(".png"),
      QStringLiteral("PNG (*.png);;SVG (*.svg)"), &filter);
  if (path.isEmpty())
    return;
  // A name typed without a suffix takes the chosen filter's.
  if (QFileInfo(path).suffix().isEmpty())
    path += filter.startsWith(QLatin1String("SVG")) ? QStringLiteral(".svg") : QStringLiteral(".png");
  savePicture(path, which);
}

bool DayWindow::savePicture(const QString &path, const QString &which) {
  QWidget *picture = which == QLatin1String("DayChart") ? static_cast<QWidget *>(dayChart_)
                     : which == QLatin1String("SunPath") ? static_cast<QWidget *>(sunPath_)
                                                         : nullptr;
  QString why;
  if (!picture)
    why = CouldNotSave(path, kNoSuchPicture.In(russian_).arg(which), russian_);
  else if (SaveWidgetPicture(picture, path, russian_, why))
    return true;
  ShowSaveFailure(this, why);
  return false;
}

} // namespace ostrel
