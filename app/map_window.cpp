// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/map_window.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <array>
#include <cmath>

#include "app/languages.h"
#include "app/picture_file.h"
#include "app/world_map.h"

namespace ostrel {
namespace {

// The window's captions, one row a control (the window's own name for its
// title).
constexpr languages::Caption kCaptions[] = {
    {"frmMap", {"World map", "Карта мира"}},
    {"HourLabel", {"Hours:", "Часы:"}},
    {"DayLabel", {"Days:", "Дни:"}},
    {"MapNow", {"Now", "Сейчас"}},
    {"SavePicture", {"Save picture...", "Сохранить рисунок..."}},
    {"MapCredit", {"Land: Natural Earth", "Суша: Natural Earth"}},
};

// The legend, one row a shade from daylight to night.
constexpr std::array<Bilingual, kShadeCount> kShadeNames{{
    {"Daylight", "День"},
    {"Civil twilight", "Гражданские сумерки"},
    {"Nautical twilight", "Навигационные сумерки"},
    {"Astronomical twilight", "Астрономические сумерки"},
    {"Night", "Ночь"},
}};

// %1 the date and time in UTC, %2 the zone's offset, %3 the site's local
// date and time.
constexpr Bilingual kMomentText{"UTC %1     Local time at the site (UT%2) %3",
                                "Всемирное время %1     Местное время пункта (UT%2) %3"};
constexpr Bilingual kHours{"%1 h", "%1 ч"};
constexpr Bilingual kDays{"%1 d", "%1 сут"};
constexpr Bilingual kPictureTitle{"Save the world map", "Сохранить карту мира"};
constexpr Bilingual kPngFilter{"PNG pictures (*.png)", "Рисунки PNG (*.png)"};
constexpr Bilingual kSvgFilter{"SVG pictures (*.svg)", "Рисунки SVG (*.svg)"};

// The sliders' reach: half a day either way by hours, half a year by days.
constexpr int kHourReach = 12;
constexpr int kDayReach = 182;

// A whole number with its sign, the minus a true minus sign.
QString Signed(int value) {
  if (value == 0)
    return QStringLiteral("0");
  return (value > 0 ? QStringLiteral("+") : QStringLiteral("−")) + QString::number(std::abs(value));
}

// A zone's offset in hours as the time zone field may hold it: +3, −3.5.
QString ZoneText(float hours) {
  const QString magnitude = QString::number(double(std::fabs(hours)), 'g', 6);
  return (hours < 0 ? QStringLiteral("−") : QStringLiteral("+")) + magnitude;
}

// A swatch of a shade: sea on the left half, land on the right.
QPixmap Swatch(Shade shade) {
  QPixmap pixmap(28, 14);
  QPainter painter(&pixmap);
  painter.fillRect(0, 0, 14, 14, QColor(WorldMap::ShadeColour(shade, false)));
  painter.fillRect(14, 0, 14, 14, QColor(WorldMap::ShadeColour(shade, true)));
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, 27, 13);
  return pixmap;
}

QSlider *MakeSlider(QWidget *parent, const char *name, int reach, int pageStep) {
  auto *slider = new QSlider(Qt::Horizontal, parent);
  slider->setObjectName(QString::fromLatin1(name));
  slider->setRange(-reach, reach);
  slider->setPageStep(pageStep);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval(pageStep);
  return slider;
}

} // namespace

MapWindow::MapWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmMap"));

  picture_ = new QWidget(this);
  picture_->setObjectName(QStringLiteral("MapPicture"));
  picture_->setAutoFillBackground(true);
  map_ = new WorldMap(picture_);
  connect(map_, &WorldMap::pointChosen, this, &MapWindow::pointChosen);
  momentText_ = new QLabel(picture_);
  momentText_->setObjectName(QStringLiteral("MomentText"));
  momentText_->setAlignment(Qt::AlignCenter);
  momentText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto *legend = new QHBoxLayout;
  legend->addStretch();
  for (int i = 0; i < kShadeCount; ++i) {
    auto *swatch = new QLabel(picture_);
    swatch->setPixmap(Swatch(static_cast<Shade>(i)));
    auto *name = new QLabel(picture_);
    name->setObjectName(QStringLiteral("Legend%1").arg(i));
    legend->addWidget(swatch);
    legend->addWidget(name);
    legend->addSpacing(12);
  }
  legend->addStretch();
  auto *credit = new QLabel(picture_);
  credit->setObjectName(QStringLiteral("MapCredit"));
  legend->addWidget(credit);
  auto *pictureLayout = new QVBoxLayout(picture_);
  pictureLayout->setContentsMargins(4, 4, 4, 4);
  pictureLayout->addWidget(map_, 1);
  pictureLayout->addWidget(momentText_);
  pictureLayout->addLayout(legend);

  auto *hourLabel = new QLabel(this);
  hourLabel->setObjectName(QStringLiteral("HourLabel"));
  auto *dayLabel = new QLabel(this);
  dayLabel->setObjectName(QStringLiteral("DayLabel"));
  hourSlider_ = MakeSlider(this, "HourSlider", kHourReach, 3);
  daySlider_ = MakeSlider(this, "DaySlider", kDayReach, 30);
  hourText_ = new QLabel(this);
  hourText_->setObjectName(QStringLiteral("HourText"));
  dayText_ = new QLabel(this);
  dayText_->setObjectName(QStringLiteral("DayText"));
  // Wide enough for the longest value in either language.
  const int valueWidth = hourText_->fontMetrics().horizontalAdvance(QStringLiteral("−182 сут")) + 8;
  hourText_->setMinimumWidth(valueWidth);
  dayText_->setMinimumWidth(valueWidth);
  connect(hourSlider_, &QSlider::valueChanged, this, &MapWindow::ShowShifted);
  connect(daySlider_, &QSlider::valueChanged, this, &MapWindow::ShowShifted);

  now_ = new QPushButton(this);
  now_->setObjectName(QStringLiteral("MapNow"));
  connect(now_, &QPushButton::clicked, this, [this] {
    const QSignalBlocker hours(hourSlider_);
    const QSignalBlocker days(daySlider_);
    hourSlider_->setValue(0);
    daySlider_->setValue(0);
    ShowShifted();
  });
  savePicture_ = new QPushButton(this);
  savePicture_->setObjectName(QStringLiteral("SavePicture"));
  savePicture_->setEnabled(false); // nothing to save before a moment is shown
  connect(savePicture_, &QPushButton::clicked, this, &MapWindow::AskPicturePath);

  auto *controls = new QGridLayout;
  controls->addWidget(hourLabel, 0, 0);
  controls->addWidget(hourSlider_, 0, 1);
  controls->addWidget(hourText_, 0, 2);
  controls->addWidget(now_, 0, 3);
  controls->addWidget(dayLabel, 1, 0);
  controls->addWidget(daySlider_, 1, 1);
  controls->addWidget(dayText_, 1, 2);
  controls->addWidget(savePicture_, 1, 3);
  controls->setColumnStretch(1, 1);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(picture_, 1);
  layout->addLayout(controls);

  resize(WorldMap::kDefaultWidth + 20, WorldMap::kDefaultHeight + 150);
  SetRussian(false);
}

void MapWindow::ShowMoment(const QDateTime &utc, const Site &site, bool tracking) {
  base_ = utc;
  site_ = site;
  tracking_ = tracking;
  map_->SetSite(GeoPoint{site.LatRad / kRad, site.LongHours * 15});
  ShowShifted();
}

void MapWindow::ShowShifted() {
  const int hours = hourSlider_->value();
  const int days = daySlider_->value();
  hourText_->setText(kHours.In(russian_).arg(Signed(hours)));
  dayText_->setText(kDays.In(russian_).arg(Signed(days)));
  if (!base_.isValid())
    return;
  map_->ShowMoment(base_.addSecs(qint64(hours) * 3600).addDays(days), tracking_);
  savePicture_->setEnabled(true);
  ShowMomentText();
}

void MapWindow::ShowMomentText() {
  const QDateTime shown = map_->shownMoment();
  if (!shown.isValid() || !site_)
    return;
  const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
  const auto zoneSeconds = static_cast<qint64>(std::llround(double(site_->Timezon) * 3600));
  const QDateTime local = shown.addSecs(zoneSeconds);
  momentText_->setText(kMomentText.In(russian_).arg(shown.toString(format), ZoneText(site_->Timezon),
                                                     local.toString(format)));
}

void MapWindow::SetRussian(bool russian) {
  russian_ = russian;
  for (const languages::Caption &row : kCaptions)
    languages::SetCaption(*this, row, russian);
  for (int i = 0; i < kShadeCount; ++i)
    if (auto *name = findChild<QLabel *>(QStringLiteral("Legend%1").arg(i)))
      name->setText(kShadeNames[std::size_t(i)].In(russian));
  map_->SetRussian(russian);
  hourText_->setText(kHours.In(russian_).arg(Signed(hourSlider_->value())));
  dayText_->setText(kDays.In(russian_).arg(Signed(daySlider_->value())));
  ShowMomentText();
}

void MapWindow::SetTheory(Theory theory) { map_->SetTheory(theory); }

bool MapWindow::savePicture(const QString &path) {
  QString why;
  if (SaveWidgetPicture(picture_, path, russian_, why))
    return true;
  ShowSaveFailure(this, why);
  return false;
}

void MapWindow::AskPicturePath() {
  const QString png = kPngFilter.In(russian_);
  const QString svg = kSvgFilter.In(russian_);
  QString chosen = png;
  const QString stem = map_->shownMoment().toString(QStringLiteral("yyyy-MM-dd-HHmm"));
  QString path = QFileDialog::getSaveFileName(this, kPictureTitle.In(russian_),
                                              QStringLiteral("ostrel-map-%1.png").arg(stem),
                                              png + QStringLiteral(";;") + svg, &chosen);
  if (path.isEmpty())
    return;
  if (QFileInfo(path).suffix().isEmpty())
    path += chosen == svg ? QStringLiteral(".svg") : QStringLiteral(".png");
  savePicture(path);
}

} // namespace ostrel
