// SPDX-License-Identifier: GPL-3.0-or-later
// "Calculate": the typed site, date and time are read, written back in
// normal form, checked in a fixed order and computed.  The first bad value
// is refused with its message, and then nothing is computed and no result
// changes.  Also the site reading and checks that real-time tracking shares.

#include <QComboBox>
#include <QLineEdit>

#include "core/run/typed_input.h"
#include "app/field_text.h"
#include "app/hemisphere_list.h"
#include "app/main_window.h"

namespace ostrel {
namespace {

constexpr const char *kTimezoneMessage = "Uncorrect input Timezone!";
constexpr const char *kLongitudeMessage = "Uncorrect input Longitude!";
constexpr const char *kLatitudeMessage = "Uncorrect input Latitude!";
constexpr const char *kHoursMessage = "Uncorrect input Hours!";
constexpr const char *kMinutesMessage = "Uncorrect input Minutes!";
constexpr const char *kSecondsMessage = "Uncorrect input Seconds!";
constexpr const char *kDayMessage = "Uncorrect input Day!";
constexpr const char *kMonthMessage = "Uncorrect input Month!";
constexpr const char *kYearMessage = "Uncorrect input Year!";

// The civil time zones of the world run from UT-12 to UT+14 (the Line
// Islands of Kiribati); in their summer New Zealand keeps +13 and the
// Chatham Islands +13:45, hours.
constexpr double kWestmostTimezone = -12;
constexpr double kEastmostTimezone = 14;

// Greatest minutes of arc accepted, compared with the single-precision
// minutes: the float nearest 59.99 (59.9900016784668...).
constexpr float kMinutesBound = 59.99f;

// Greatest latitude "Calculate" accepts, radians (a decimal bound, not pi/2).
constexpr double kManualLatitudeBound = 1.5707963268;

// A value outside [low, high], or one its precision cannot hold.
template <typename T>
bool OutOfRange(const FieldReading<T> &field, double low, double high) {
  return !field.holdable || field.value < low || field.value > high;
}

// The Gregorian rule within the accepted years 1700 to 2100: the rounded
// year divisible by 4, except the century years that are not leap years.
// A year beyond the 16-bit range saturates here and is refused by the year
// check that follows.
bool IsLeapYear(double year) {
  return RoundHalfEven(year) % 4 == 0 && year != 1700 && year != 1800 &&
         year != 1900 && year != 2100;
}

} // namespace

MainWindow::SiteInput MainWindow::ReadSite(WriteBack writeBack) {
  SiteInput site;
  site.LongGrad = ReadDoubleText(LongGrad, writeBack);
  site.LongMin = ReadSingleText(LongMin, writeBack);
  site.LatGrad = ReadDoubleText(LatGrad, writeBack);
  site.LatMin = ReadSingleText(LatMin, writeBack);
  site.Timezon = ReadSingleText(Timezon, writeBack);
  return site;
}

const char *MainWindow::CheckSite(const SiteInput &site, double latitudeBound,
                                  SitePosition &position) const {
  if (OutOfRange(site.Timezon, kWestmostTimezone, kEastmostTimezone))
    return kTimezoneMessage;
  if (OutOfRange(site.LongMin, 0, kMinutesBound))
    return kLongitudeMessage;
  if (OutOfRange(site.LatMin, 0, kMinutesBound))
    return kLatitudeMessage;

  // The hemisphere lists: West and South at index 1.
  position.LatRad = LatitudeRadians(site.LatGrad.value, site.LatMin.value,
                                    List2->TopIndex() == 1, ephemeris_.state.Rad);
  position.LongHours = LongitudeHours(site.LongGrad.value, site.LongMin.value,
                                      List1->TopIndex() == 1);

  if (!site.LongGrad.holdable || position.LongHours < -12 || position.LongHours > 12)
    return kLongitudeMessage;
  if (!site.LatGrad.holdable || position.LatRad < -latitudeBound ||
      position.LatRad > latitudeBound)
    return kLatitudeMessage;
  return nullptr;
}

void MainWindow::WriteSite(const SiteInput &site, const SitePosition &position) {
  SetSite(ephemeris_.state, position.LongHours, position.LatRad, site.Timezon.value);
}

void MainWindow::Command2_Click() {
  // A town chosen from the list keeps its zone: the offset of the typed
  // date and time, before the site is read.
  if (ZoneFollower *zone = LinkedZone()) {
    if (const auto moment = TypedMoment())
      ShowZoneOffset(ZoneOffsetHours(zone->zone(), moment->date, moment->time));
  }
  const SiteInput site = ReadSite(WriteBack::Always);
  SitePosition position;
  if (const char *message = CheckSite(site, kManualLatitudeBound, position)) {
    ShowMessage(QString::fromUtf8(message));
    return;
  }
  // All six fields are written back before any of them is checked.
  const FieldReading<double> hour = ReadDoubleText(TimeHour);
  const FieldReading<double> minute = ReadDoubleText(TimeMin);
  const FieldReading<double> second = ReadDoubleText(TimeSec);
  const FieldReading<double> day = ReadDoubleText(DateDay);
  const FieldReading<double> month = ReadDoubleText(DateMonth);
  const FieldReading<double> year = ReadDoubleText(DateYear);

  const char *message = nullptr;
  if (OutOfRange(hour, 0, 23))
    message = kHoursMessage;
  else if (OutOfRange(minute, 0, 59))
    message = kMinutesMessage;
  else if (OutOfRange(second, 0, 59))
    message = kSecondsMessage;
  else if (OutOfRange(day, 1, 31))
    message = kDayMessage;
  else if (OutOfRange(month, 1, 12))
    message = kMonthMessage;
  if (message) {
    ShowMessage(QString::fromUtf8(message));
    return;
  }

  // Days beyond the month's length are brought back to its last day without
  // a message; only exactly 31 counts in the 30-day months.
  double dateDay = day.value;
  const bool leapYear = IsLeapYear(year.value);
  const double m = month.value;
  if ((m == 4 || m == 6 || m == 9 || m == 11) && dateDay == 31) {
    dateDay = 30;
    DateDay->setEditText(QStringLiteral("30"));
  }
  if (m == 2 && leapYear && dateDay > 29) {
    dateDay = 29;
    DateDay->setEditText(QStringLiteral("29"));
  }
  if (m == 2 && !leapYear && dateDay > 28) {
    dateDay = 28;
    DateDay->setEditText(QStringLiteral("28"));
  }
  if (OutOfRange(year, 1700, 2100)) {
    ShowMessage(QString::fromUtf8(kYearMessage));
    return;
  }

  WriteSite(site, position);
  SetTypedMoment(ephemeris_.state, year.value, month.value, dateDay, hour.value,
                 minute.value, second.value);
  Calculate();
}

} // namespace ostrel
