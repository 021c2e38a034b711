// SPDX-License-Identifier: GPL-3.0-or-later
// Towns by name in the main window: the town field's list as the user
// types, the site and zone of a chosen town, the zone kept through the
// changes of the clocks, the saved town found again, and "Time zone of this
// computer".
//
// A chosen town is linked to its zone until the user types a site field
// (the town, a coordinate, the time zone) or scrolls a hemisphere list to
// the other hemisphere.  While linked, the time zone field shows the zone's
// offset at the date and time in the window: each tick of real-time
// tracking and each "Calculate" look it up again.  The settings file keeps
// no link: it keeps the town and the fields as ever, and a loaded town
// found in the list with the same coordinates is linked again, from the
// start (the look-up itself waits for the first tick or "Calculate", so
// that reading the list does not hold up the window's first painting).

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimeZone>

#include <algorithm>
#include <cmath>

#include "app/hemisphere_list.h"
#include "app/layout.h"
#include "app/main_window.h"
#include "app/town_list.h"
#include "core/text/numtext.h"
#include "core/places/places.h"

namespace ostrel {
namespace {

// Rows of the town list shown at once.
constexpr int kVisibleTowns = 10;
// A click on the world map takes the nearest town within this reach, km.
constexpr double kMapTownReachKm = 50;
// The town field of a clicked point that no town is near: an en dash.
constexpr const char16_t *kNoTown = u"\u2013";

// Towns looked at when a saved name is found again: more than any name has
// namesakes in the list.
constexpr std::size_t kNamesakes = 50;

// While the list of towns is open, Enter chooses a town and Esc closes the
// list.  In the window the two keys are shortcuts, "Calculate" and
// "Cancel" (which ends the program): the list claims them first, so that
// they reach it as keys and not as shortcuts.
class ListKeys : public QObject {
public:
  explicit ListKeys(QAbstractItemView *popup) : QObject(popup), popup_(popup) {
    popup->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (watched != popup_ || event->type() != QEvent::ShortcutOverride || !popup_->isVisible())
      return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Escape && key != Qt::Key_Return && key != Qt::Key_Enter)
      return false;
    event->accept();
    return true;
  }

private:
  QAbstractItemView *popup_;
};

QTimeZone ZoneOf(const Place &place) {
  return QTimeZone(QByteArray(place.zone.data(), static_cast<qsizetype>(place.zone.size())));
}

int HemisphereIndex(const AngleFields &angle) { return angle.negative ? 1 : 0; }

// A number typed in a field, within the bounds "Calculate" accepts.
std::optional<double> TypedNumber(const QString &text, double low, double high) {
  const double value = ParseNumber(text.toStdString());
  if (!(value >= low && value <= high))
    return std::nullopt;
  return value;
}

} // namespace

void MainWindow::BuildTownChoice() {
  townList_ = new TownListModel(this);
  townCompleter_ = new QCompleter(townList_, this);
  townCompleter_->setObjectName(QStringLiteral("TownCompleter"));
  // The list is the core's search in its own order: the completer shows it
  // whole, and marks the first row whose name begins as typed.
  townCompleter_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  townCompleter_->setCaseSensitivity(Qt::CaseInsensitive);
  townCompleter_->setMaxVisibleItems(kVisibleTowns);
  QAbstractItemView *popup = townCompleter_->popup();
  popup->setFont(layout::FontOf(layout::Font::F4));
  Town->setCompleter(townCompleter_);
  new ListKeys(popup);

  // The line edit shows the list after its textEdited signal, so the list
  // is searched first.  The popup is as wide as its longest row, or the
  // field.
  connect(Town, &QLineEdit::textEdited, this, [this, popup](const QString &text) {
    DropTownLink();
    townList_->Search(text);
    const int rows = popup->sizeHintForColumn(0) + 2 * popup->frameWidth() +
                     popup->verticalScrollBar()->sizeHint().width();
    popup->setMinimumWidth(std::max(Town->width(), rows));
  });
  connect(townCompleter_, qOverload<const QModelIndex &>(&QCompleter::activated), this,
          [this](const QModelIndex &index) {
            const int row = index.data(TownListModel::kRowRole).toInt();
            if (const Place *place = townList_->PlaceAt(row))
              ChooseTown(*place);
          });
  for (QLineEdit *field : {LongGrad, LongMin, LatGrad, LatMin, Timezon})
    connect(field, &QLineEdit::textEdited, this, &MainWindow::DropTownLink);
}

void MainWindow::ChooseTown(const Place &place) {
  const AngleFields longitude = AngleFieldsOf(place.longitudeDeg);
  const AngleFields latitude = AngleFieldsOf(place.latitudeDeg);
  Town->setText(QString::fromStdString(Windows1251Name(place.name)));
  LongGrad->setText(QString::fromStdString(NumText(longitude.degrees)));
  LongMin->setText(QString::fromStdString(NumText(longitude.minutes)));
  List1->SetListIndex(HemisphereIndex(longitude));
  LatGrad->setText(QString::fromStdString(NumText(latitude.degrees)));
  LatMin->setText(QString::fromStdString(NumText(latitude.minutes)));
  List2->SetListIndex(HemisphereIndex(latitude));

  // A zone that this computer's time-zone database does not hold leaves
  // the time zone field as it is.
  DropTownLink();
  const QTimeZone zone = ZoneOf(place);
  if (zone.isValid())
    townLink_ = TownLink{ZoneFollower(zone), List1->TopIndex(), List2->TopIndex()};

  // A tick, or "Calculate", shows the offset of the moment it computes;
  // where the fields hold no date to compute, the clock's date serves.
  if (Option1->isChecked()) {
    Timer1_Timer();
    return;
  }
  if (townLink_ && !TypedMoment()) {
    const LocalMoment now = clock_();
    ShowZoneOffset(ZoneOffsetHours(zone, now.date, now.time));
  }
  Command2_Click();
}

void MainWindow::ChooseMapPoint(double latitude, double longitude) {
  if (!std::isfinite(latitude) || !std::isfinite(longitude))
    return;
  latitude = std::clamp(latitude, -90.0, 90.0);
  longitude = std::clamp(longitude, -180.0, 180.0);
  if (const Place *town = NearestPlace(latitude, longitude, kMapTownReachKm)) {
    ChooseTown(*town);
    return;
  }
  // The fields as a user would type the point, and the zone of its
  // longitude rounded to the hour (15 degrees an hour; 180 degrees gives
  // +12 or -12).
  DropTownLink();
  const AngleFields east = AngleFieldsOf(longitude);
  const AngleFields north = AngleFieldsOf(latitude);
  Town->setText(QString::fromUtf16(kNoTown));
  LongGrad->setText(QString::fromStdString(NumText(east.degrees)));
  LongMin->setText(QString::fromStdString(NumText(east.minutes)));
  List1->SetListIndex(HemisphereIndex(east));
  LatGrad->setText(QString::fromStdString(NumText(north.degrees)));
  LatMin->setText(QString::fromStdString(NumText(north.minutes)));
  List2->SetListIndex(HemisphereIndex(north));
  // (Adding 0 turns the -0 of a point just west of Greenwich into 0.)
  ShowZoneOffset(static_cast<float>(std::round(longitude / 15)) + 0.0f);
  if (Option1->isChecked()) {
    Timer1_Timer();
    return;
  }
  Command2_Click();
}

ZoneFollower *MainWindow::LinkedZone() {
  if (relinkPending_) {
    relinkPending_ = false;
    RelinkSavedTown();
  }
  if (townLink_ &&
      (List1->TopIndex() != townLink_->west || List2->TopIndex() != townLink_->south))
    townLink_.reset();
  return townLink_ ? &townLink_->zone : nullptr;
}

void MainWindow::DropTownLink() {
  townLink_.reset();
  relinkPending_ = false;
}

void MainWindow::RelinkSavedTown() {
  const std::optional<Settings> shown = CurrentSettings();
  if (!shown)
    return;
  const std::string name = shown->Town.toStdString();
  const std::string folded = FoldName(name);
  // A trailing comma keeps every country, so that a name holding a comma
  // is searched whole.
  for (const Place *place : FindPlaces(name + ',', kNamesakes)) {
    if (FoldName(place->name) != folded)
      continue;
    const AngleFields longitude = AngleFieldsOf(place->longitudeDeg);
    const AngleFields latitude = AngleFieldsOf(place->latitudeDeg);
    if (shown->LongGrad != longitude.degrees || shown->LongMin != longitude.minutes ||
        shown->List1 != HemisphereIndex(longitude) || shown->LatGrad != latitude.degrees ||
        shown->LatMin != latitude.minutes || shown->List2 != HemisphereIndex(latitude))
      continue;
    const QTimeZone zone = ZoneOf(*place);
    if (zone.isValid())
      townLink_ = TownLink{ZoneFollower(zone), List1->TopIndex(), List2->TopIndex()};
    return;
  }
}

void MainWindow::ShowZoneOffset(float hours) {
  const QString text = QString::fromStdString(NumText(hours));
  if (Timezon->text() != text)
    Timezon->setText(text);
}

std::optional<LocalMoment> MainWindow::TypedMoment() const {
  const auto year = TypedNumber(DateYear->currentText(), 1700, 2100);
  const auto month = TypedNumber(DateMonth->currentText(), 1, 12);
  const auto day = TypedNumber(DateDay->currentText(), 1, 31);
  const auto hour = TypedNumber(TimeHour->text(), 0, 23);
  const auto minute = TypedNumber(TimeMin->text(), 0, 59);
  const auto second = TypedNumber(TimeSec->text(), 0, 59);
  if (!year || !month || !day || !hour || !minute || !second)
    return std::nullopt;
  // A zone's offset belongs to a calendar date: the date's numbers whole.
  // The time of day may have fractions, as "Calculate" takes it.
  if (*year != std::floor(*year) || *month != std::floor(*month) || *day != std::floor(*day))
    return std::nullopt;
  const QDate first(static_cast<int>(*year), static_cast<int>(*month), 1);
  const QDate date = first.addDays(std::min(static_cast<int>(*day), first.daysInMonth()) - 1);
  const auto milliseconds = std::llround((*hour * 3600 + *minute * 60 + *second) * 1000);
  return LocalMoment(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(milliseconds)));
}

LocalMoment MainWindow::MomentShown() {
  if (const auto moment = TypedMoment())
    return *moment;
  return clock_();
}

void MainWindow::me1_18_Click() {
  DropTownLink();
  const LocalMoment moment = MomentShown();
  ShowZoneOffset(ZoneOffsetHours(QTimeZone::systemTimeZone(), moment.date, moment.time));
}

} // namespace ostrel
