// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls, lines, menus and focus order, as designed.
// Rows are in the order the window is built, which is also the stacking
// order: a later control lies above an earlier one where boxes overlap.

#include "app/layout.h"

#include <array>
#include <cmath>

namespace ostrel::layout {
namespace {

using enum Kind;
using enum Align;
using F = Font;

constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kDarkRed = qRgb(192, 0, 0);
constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kGreen = qRgb(0, 128, 0);
constexpr QRgb kTeal = qRgb(0, 128, 128);
constexpr QRgb kMaroon = qRgb(128, 0, 0);
constexpr QRgb kMagenta = qRgb(192, 0, 192);
constexpr QRgb kPurple = qRgb(128, 0, 128);
constexpr QRgb kRust = qRgb(192, 64, 0);
constexpr QRgb kOlive = qRgb(128, 128, 0);

// name, kind, text, left, top, width, height (twips), font, colour, align,
// enabled at creation.
constexpr Control kControls[] = {
    // Title and column headings.
    {"Label32", Label, "OSTREL", 1800, 0, 4572, 400, F::F6, qRgb(255, 128, 0), Centre, true},
    {"Date", Label, "Date", 720, 400, 732, 252, F::F2, kBlack, Centre, true},
    {"DayYear", Label, "Day of Year", 2376, 408, 756, 444, F::F2, kBlack, Centre, true},
    {"LocalTime", Label, "Local Time", 3120, 390, 1815, 255, F::F2, kBlack, Centre, true},
    {"SidTime", Label, "Sidereal Time", 4920, 390, 1935, 255, F::F2, kBlack, Centre, true},
    {"Label1", Label, "M.J.D.", 6960, 405, 1095, 255, F::F2, kBlack, Centre, true},

    // Date, local time, sidereal time, modified Julian date.
    {"DateDay", ComboBox, "", 120, 780, 550, 288, F::F1, kBlack, Left, true},
    {"DateMonth", ComboBox, "", 720, 780, 550, 288, F::F1, kBlack, Left, true},
    {"DateYear", ComboBox, "", 1320, 780, 800, 288, F::F1, kBlack, Left, true},
    {"DOY", Label, "", 2520, 860, 396, 192, F::F2, kRed, Centre, true},
    {"TimeHour", TextBox, "", 3360, 780, 372, 288, F::F1, kBlack, Centre, true},
    {"Label5_4", Label, "h", 3720, 780, 132, 252, F::F1, kBlack, Left, true},
    {"TimeMin", TextBox, "", 3840, 780, 372, 288, F::F1, kBlack, Centre, true},
    {"Label11", Label, "m", 4200, 780, 132, 252, F::F1, kBlack, Left, true},
    {"TimeSec", TextBox, "", 4320, 780, 372, 288, F::F1, kBlack, Centre, true},
    {"Label15", Label, "s", 4680, 780, 132, 252, F::F1, kBlack, Left, true},
    {"SidHour", Label, "", 5040, 780, 372, 252, F::F2, kDarkRed, Centre, true},
    {"Label5_5", Label, "h", 5400, 780, 132, 252, F::F1, kBlack, Left, true},
    {"SidMin", Label, "", 5520, 780, 372, 252, F::F2, kDarkRed, Centre, true},
    {"Label10", Label, "m", 5880, 780, 132, 252, F::F1, kBlack, Left, true},
    {"SidSec", Label, "", 6036, 780, 348, 252, F::F2, kDarkRed, Centre, true},
    {"Label16", Label, "s", 6384, 780, 132, 252, F::F1, kBlack, Left, true},
    {"JulianDate", Label, "", 6720, 780, 1500, 240, F::F2, kDarkRed, Centre, true},

    // Site: headings and inputs.  The small "o" labels stand 45 to 72 twips
    // higher than their values so that they read as degree signs.
    {"LocSet", Label, "Location:", 600, 1120, 972, 252, F::F2, kBlack, Centre, true},
    {"Longitude", Label, "Longitude", 2760, 1120, 975, 255, F::F2, kBlack, Centre, true},
    {"Latitude", Label, "Latitude", 4800, 1120, 855, 255, F::F2, kBlack, Left, true},
    {"TimZon", Label, "Timezone", 6480, 1125, 1695, 255, F::F2, kBlack, Centre, true},
    {"Town", TextBox, "Kishinev", 120, 1440, 1932, 288, F::F2, kBlack, Centre, true},
    {"LongGrad", TextBox, "28", 2280, 1440, 372, 288, F::F5, kBlack, Centre, false},
    {"Label19", Label, "o", 2640, 1392, 132, 252, F::F1, kBlack, Left, true},
    {"LongMin", TextBox, "50", 2760, 1440, 372, 288, F::F5, kBlack, Centre, false},
    {"Label13", Label, " '", 3120, 1440, 132, 132, F::F1, kBlack, Left, true},
    {"List1", ListBox, "", 3360, 1440, 825, 300, F::F4, kBlack, Left, false},
    {"LatGrad", TextBox, "47", 4320, 1440, 372, 288, F::F5, kBlack, Centre, false},
    {"Label20", Label, "o", 4680, 1395, 135, 255, F::F1, kBlack, Left, true},
    {"LatMin", TextBox, "00", 4920, 1440, 372, 288, F::F5, kBlack, Centre, false},
    {"Label14", Label, " '", 5280, 1440, 135, 135, F::F1, kBlack, Left, true},
    {"List2", ListBox, "", 5520, 1440, 870, 300, F::F4, kBlack, Left, false},
    {"Timezon", TextBox, "3", 7200, 1440, 372, 288, F::F5, kBlack, Centre, false},
    {"Label5_6", Label, "h", 7560, 1440, 135, 255, F::F1, kBlack, Left, true},

    // Coordinates of the Sun: headings, true values, apparent values and the
    // greatest altitude.
    {"CoordSun", Label, "Coordinates of Sun", 2520, 1752, 3012, 372, F::F7, kRed, Centre, true},
    {"Longit", Label, "Longitude", 120, 2160, 1095, 255, F::F2, kBlue, Centre, true},
    {"RASun", Label, "Right Ascension", 1440, 2160, 1812, 252, F::F2, kBlue, Centre, true},
    {"DeclSun", Label, "Declination", 3480, 2160, 1212, 252, F::F2, kBlue, Left, true},
    {"AltSun", Label, "Altitude", 5160, 2160, 852, 252, F::F2, kBlue, Centre, true},
    {"ZenAng", Label, "Zenith angle", 6120, 1920, 1095, 495, F::F2, kBlue, Centre, true},
    {"AzimSun", Label, "Azimuth", 7320, 2160, 852, 252, F::F2, kBlue, Left, true},
    {"LongSun", Label, "", 240, 2400, 972, 252, F::F2, kRed, Centre, true},
    {"Label21", Label, "o", 1296, 2352, 132, 252, F::F1, kBlack, Left, true},
    {"RAHour", Label, "", 1560, 2400, 372, 252, F::F2, kDarkRed, Centre, true},
    {"Label5_3", Label, "h", 1920, 2400, 132, 252, F::F1, kBlack, Left, true},
    {"RAMin", Label, "", 2040, 2400, 372, 252, F::F2, kDarkRed, Centre, true},
    {"Label9", Label, "m", 2400, 2400, 132, 252, F::F1, kBlack, Left, true},
    {"RASec", Label, "", 2520, 2400, 372, 252, F::F2, kDarkRed, Centre, true},
    {"Label17", Label, "s", 2880, 2400, 132, 252, F::F1, kBlack, Left, true},
    {"Label33", Label, "", 3200, 2400, 100, 252, F::F2, kDarkRed, Left, true},
    {"DeclGrad", Label, "", 3360, 2400, 252, 252, F::F2, kDarkRed, Centre, true},
    {"Label22", Label, "o", 3600, 2352, 132, 252, F::F1, kBlack, Left, true},
    {"DeclMin", Label, "", 3720, 2400, 372, 252, F::F2, kDarkRed, Centre, true},
    {"Label12", Label, " '", 4080, 2400, 132, 132, F::F1, kBlack, Left, true},
    {"DeclSec", Label, "", 4200, 2400, 372, 252, F::F2, kDarkRed, Centre, true},
    {"Label18", Label, " ''", 4560, 2400, 216, 132, F::F1, kBlack, Left, true},
    {"Tru", Label, "True", 4800, 2436, 492, 252, F::F1, kTeal, Left, true},
    {"AltTrue", Label, "", 5280, 2400, 732, 252, F::F2, kGreen, Left, true},
    {"Label23", Label, "o", 6000, 2352, 132, 252, F::F1, kBlack, Left, true},
    {"ZenTrue", Label, "", 6240, 2400, 768, 252, F::F2, kGreen, Left, true},
    {"Label25", Label, "o", 7000, 2352, 132, 252, F::F1, kBlack, Left, true},
    {"AzimTrue", Label, "", 7320, 2400, 852, 252, F::F2, kGreen, Left, true},
    {"Label27", Label, "o", 8160, 2352, 132, 252, F::F1, kBlack, Left, true},
    {"App", Label, "App.", 4800, 2796, 492, 252, F::F1, qRgb(128, 64, 0), Left, true},
    {"AltApp", Label, "", 5280, 2760, 732, 252, F::F2, kMaroon, Left, true},
    {"Label24", Label, "o", 6000, 2700, 132, 252, F::F1, kBlack, Left, true},
    {"ZenApp", Label, "", 6240, 2760, 768, 252, F::F2, kMaroon, Left, true},
    {"Label26", Label, "o", 7000, 2700, 132, 252, F::F1, kBlack, Left, true},
    {"Label31", Label, "Max.True", 4200, 3156, 1092, 252, F::F1, kMagenta, Centre, true},
    {"AltMax", Label, "", 5280, 3120, 732, 252, F::F2, kMagenta, Left, true},
    {"Label34", Label, "o", 6000, 3048, 132, 252, F::F1, kBlack, Left, true},

    // Lower left block: a right-aligned heading left of each value.
    {"Airm", Label, "Airmass", 1800, 3600, 2292, 252, F::F3, kMaroon, Right, true},
    {"Airmass", Label, "", 4200, 3600, 1215, 255, F::F2, kRust, Left, true},
    {"Distance", Label, "Distance from Earth", 1680, 4116, 2412, 252, F::F3, kGreen, Right, true},
    {"DistAU", Label, "", 4200, 3960, 1152, 252, F::F2, kTeal, Left, true},
    {"AU", Label, "AU", 5400, 3996, 492, 252, F::F1, kBlack, Left, true},
    {"Distkm", Label, "", 4248, 4320, 1092, 252, F::F2, kTeal, Left, true},
    {"km", Label, "km", 5400, 4368, 252, 252, F::F1, kBlack, Left, true},
    {"DiamSun", Label, "Sun's angular diameter", 1680, 4680, 2412, 252, F::F3, kOlive, Right, true},
    {"DiamMin", Label, "", 4200, 4680, 372, 252, F::F2, kOlive, Centre, true},
    {"Label2", Label, " '", 4560, 4680, 132, 132, F::F1, kBlack, Left, true},
    {"DiamSec", Label, "", 4680, 4680, 372, 252, F::F2, kOlive, Centre, true},
    {"Label4", Label, " ''", 5040, 4680, 252, 132, F::F1, kBlack, Left, true},
    {"CulmSun", Label, "Upper culmination time", 1440, 5040, 2652, 252, F::F3, kMagenta, Right, true},
    {"CulmHour", Label, "", 4200, 5040, 372, 252, F::F2, kPurple, Centre, true},
    {"Label5_0", Label, "h", 4560, 5040, 132, 252, F::F1, kBlack, Left, true},
    {"CulmMin", Label, "", 4680, 5040, 372, 252, F::F2, kPurple, Centre, true},
    {"Label6", Label, "m", 5040, 5040, 132, 252, F::F1, kBlack, Left, true},
    {"EquTime", Label, "Equation of time in local noon", 480, 5400, 3612, 252, F::F3, qRgb(128, 64, 64), Right, true},
    {"EquMin", Label, "", 4440, 5400, 615, 255, F::F2, kRust, Centre, true},
    {"Label8", Label, "m", 5040, 5400, 135, 255, F::F1, kBlack, Left, true},

    // Mode box.  The option buttons have no caption of their own; the label
    // beside each is a separate control.
    {"Label30", Label, "Choice of a mode", 6360, 3840, 1695, 495, F::F3, kRed, Centre, true},
    {"Option1", OptionButton, "", 6480, 4440, 252, 252, F::F5, kBlack, Left, true},
    {"Label28", Label, "Real time tracking", 6960, 4380, 1095, 495, F::F2, kBlue, Centre, true},
    {"Option2", OptionButton, "", 6480, 4920, 252, 252, F::F5, kBlack, Left, true},
    {"Label29", Label, "Manual", 7080, 4920, 855, 255, F::F2, kBlue, Left, true},

    // Sunrise, day length, sunset, and the two buttons.
    {"Sunrise", Label, "Sunrise", 960, 5880, 852, 252, F::F3, kRust, Left, true},
    {"Label35", Label, "Duration of day", 3360, 5880, 1815, 255, F::F3, kBlue, Centre, true},
    {"Sunset", Label, "Sunset", 6840, 5880, 735, 255, F::F3, kRust, Left, true},
    {"RiseHour", Label, "", 720, 6240, 375, 255, F::F2, kDarkRed, Centre, true},
    {"Label5_1", Label, "h", 1080, 6240, 135, 255, F::F1, kBlack, Left, true},
    {"RiseMin", Label, "", 1200, 6240, 420, 255, F::F2, kDarkRed, Right, true},
    {"Label3", Label, "m", 1680, 6240, 135, 255, F::F1, kBlack, Left, true},
    {"DurHour", Label, "", 3720, 6240, 375, 255, F::F2, kDarkRed, Centre, true},
    {"Label5_7", Label, "h", 4080, 6240, 135, 255, F::F1, kBlack, Left, true},
    {"DurMin", Label, "", 4200, 6240, 420, 255, F::F2, kDarkRed, Right, true},
    {"Label38", Label, "m", 4680, 6240, 135, 255, F::F1, kBlack, Left, true},
    {"SetHour", Label, "", 6600, 6240, 375, 255, F::F2, kDarkRed, Centre, true},
    {"Label5_2", Label, "h", 6960, 6240, 135, 255, F::F1, kBlack, Left, true},
    {"SetMin", Label, "", 7080, 6240, 420, 255, F::F2, kDarkRed, Right, true},
    {"Label7", Label, "m", 7560, 6240, 135, 255, F::F1, kBlack, Left, true},
    {"RAzim", Label, "Azimuth", 960, 6600, 855, 255, F::F3, qRgb(0, 0, 192), Left, true},
    {"SAzim", Label, "Azimuth", 6840, 6600, 855, 255, F::F3, qRgb(0, 0, 192), Left, true},
    {"RiseAzim", Label, "99", 960, 6885, 615, 255, F::F2, kGreen, Centre, true},
    {"Label37", Label, "o", 1680, 6840, 135, 255, F::F1, kBlack, Left, true},
    {"SetAzim", Label, "285", 6840, 6885, 615, 255, F::F2, kGreen, Centre, true},
    {"Label40", Label, "o", 7560, 6840, 135, 255, F::F1, kBlack, Left, true},
    {"Command2", Button, "Calculate", 2280, 6720, 1092, 372, F::F5, kBlack, Centre, false},
    {"Command1", Button, "Cancel", 5160, 6720, 972, 372, F::F5, kBlack, Centre, true},
};

constexpr ListItems kItems[] = {
    {"DateDay", "1..31"},
    {"DateMonth", "1..12"},
    {"DateYear", "2010..2020"},
    {"List1", "East|West"},
    {"List2", "North|South"},
};

constexpr QRgb kLineMagenta = qRgb(192, 0, 192);
constexpr Line kLines[] = {
    {"Line5", 0, 3480, 8300, 3480, 3, kLineMagenta},
    // The mode box, corners (6240, 3720) and (8160, 5400).
    {"Line2", 6240, 3720, 8160, 3720, 2, kBlack},
    {"Line3", 6240, 5400, 8160, 5400, 2, kBlack},
    {"Line1", 6240, 3720, 6240, 5400, 2, kBlack},
    {"Line4", 8160, 3720, 8160, 5400, 2, kBlack},
};

// name, caption at creation, parent, is a menu, checkable, checked.
constexpr MenuEntry kMenus[] = {
    {"me1", "&Settings", nullptr, true, false, false},
    {"me1_1", "&Timer interval", "me1", true, false, false},
    {"me1_2", " 1 sec", "me1_1", false, true, true},
    {"me1_3", " 3 sec", "me1_1", false, true, false},
    {"me1_4", " 5 sec", "me1_1", false, true, false},
    {"me1_5", "10 sec", "me1_1", false, true, false},
    {"me1_8", "&Language", "me1", true, false, false},
    {"me1_9", "English", "me1_8", false, false, false},
    {"me1_10", "Russian", "me1_8", false, false, false},
    {"me1_11", "&Azimuth", "me1", true, false, false},
    {"me1_12", "&From North(0-360)", "me1_11", false, true, true},
    {"me1_13", "&From South(0-360)", "me1_11", false, true, false},
    {"me1_14", "&From South(-180+180)", "me1_11", false, true, false},
    {"me1_15", "Theory", "me1", true, false, false},
    {"me1_16", "Classic (1980 epoch)", "me1_15", false, true, true},
    {"me1_17", "Precise", "me1_15", false, true, false},
    {"me1_18", "Time zone of this computer", "me1", false, false, false},
    {"me1_7", "&Save settings", "me1", false, false, false},
    {"me1_6", "&Exit", "me1", false, false, false},
    {"me3", "View", nullptr, true, false, false},
    {"me3_1", "Sun's day...", "me3", false, false, false},
    {"me3_2", "Year table...", "me3", false, false, false},
    {"me3_3", "World map...", "me3", false, false, false},
    {"me2", "&Help", nullptr, true, false, false},
    {"me2_1", "About program", "me2", false, false, false},
};

constexpr const char *kFocusOrder[] = {
    "DateDay", "DateMonth", "DateYear", "TimeHour", "TimeMin", "TimeSec",
    "LongGrad", "LongMin", "LatGrad", "LatMin", "Command1", "Command2",
    "Timezon", "Town", "Option1", "Option2", "List1", "List2",
};

int ToPixels(int twips) {
  return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

} // namespace

std::span<const Control> Controls() { return kControls; }
std::span<const ListItems> Items() { return kItems; }
std::span<const Line> Lines() { return kLines; }
std::span<const MenuEntry> Menus() { return kMenus; }
std::span<const char *const> FocusOrder() { return kFocusOrder; }

QStringList ItemTexts(const ListItems &row) {
  const QString items = QString::fromUtf8(row.items);
  const qsizetype range = items.indexOf(QLatin1String(".."));
  if (range < 0)
    return items.split(QLatin1Char('|'));
  QStringList texts;
  const int last = items.mid(range + 2).toInt();
  for (int value = items.left(range).toInt(); value <= last; ++value)
    texts << QString::number(value);
  return texts;
}

QRect PixelBox(int left, int top, int width, int height) {
  const int x = ToPixels(left), y = ToPixels(top);
  return QRect(x, y, ToPixels(left + width) - x, ToPixels(top + height) - y);
}

// "MS Sans Serif" and "Times New Roman" of the design, or the nearest faces
// with Cyrillic that a Linux desktop has.  Sizes are set in pixels (the
// design's points at 96 dpi: 8.25 pt = 11 px, 9.75 pt = 13 px, 13.5 pt =
// 18 px, 16.5 pt = 22 px) so that text keeps its place in the fixed layout
// whatever the screen's dpi setting.
QFont FontOf(Font font) {
  static const QStringList sans{"Liberation Sans", "Arial", "MS Sans Serif"};
  static const QStringList serif{"Liberation Serif", "Times New Roman"};
  struct Face {
    const QStringList *families;
    int pixelSize;
    bool bold, italic, underline;
  };
  static const std::array<Face, 7> faces{{
      {&sans, 11, true, false, false},  // F1
      {&sans, 13, true, false, false},  // F2
      {&sans, 13, true, false, true},   // F3
      {&sans, 13, false, false, false}, // F4
      {&sans, 11, false, false, false}, // F5, the window's default
      {&serif, 22, true, true, true},   // F6
      {&serif, 18, true, false, true},  // F7
  }};
  const Face &face = faces[static_cast<std::size_t>(font)];
  QFont result;
  result.setFamilies(*face.families);
  result.setStyleHint(face.families == &serif ? QFont::Serif : QFont::SansSerif);
  result.setPixelSize(face.pixelSize);
  result.setBold(face.bold);
  result.setItalic(face.italic);
  result.setUnderline(face.underline);
  return result;
}

Qt::Alignment AlignmentOf(Align align) {
  switch (align) {
  case Align::Centre:
    return Qt::AlignHCenter;
  case Align::Right:
    return Qt::AlignRight;
  case Align::Left:
    break;
  }
  return Qt::AlignLeft;
}

} // namespace ostrel::layout
