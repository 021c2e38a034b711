// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: one line of Windows-1251 text, ended by CR LF, with
// eleven values in a fixed order and, for the precise theory only, a
// twelfth.  Plain functions over bytes and values, so that the format can
// be tested (and fuzzed) without a window.
//
//   Kishinev, 28  50  0  47  0  0  3  1000   0 Azimuth
//   Kishinev, 28  50  0  47  0  0  3  1000   0 Azimuth,precise
//
// The town; a comma; values 2 to 9 as number items (" " or "-", the
// number's text without its sign, " "); a blank; value 10 as a number item;
// the language token; then a comma and the theory's key ("precise") when the
// theory is not the classic one, so that a classic set-up writes the line
// it always has.  The reader does not depend on the line: values may be
// separated by commas, blanks or line ends, and a text value may be quoted.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

#include "core/sun/theory.h"

namespace ostrel {

// The values in file order, with the window's initial values.
struct Settings {
  QString Town = QStringLiteral("Kishinev");
  double LongGrad = 28;
  float LongMin = 50;
  std::int16_t List1 = 0; // 0 East, 1 West
  double LatGrad = 47;
  float LatMin = 0;
  std::int16_t List2 = 0; // 0 North, 1 South
  float Timezon = 3;
  std::int16_t TimerInterval = 1000; // milliseconds
  std::int16_t AzimuthMode = 0;
  QString Language = QStringLiteral("Azimuth"); // the caption of AzimSun
  Theory theory = Theory::Classic; // optional: older files have no twelfth value
};

// The values of a whole file, or nothing when it holds fewer than eleven
// values, an integer outside -32768..32767 or a number its precision cannot
// hold.  A missing twelfth value, or a word that names no theory, is the
// classic theory.
std::optional<Settings> ReadSettings(QByteArrayView bytes);

// The file's line.  A town that would not read back as written (a comma, a
// leading double quote, blanks at either end) is quoted, with a double quote
// inside doubled.  Nothing when the town or the token holds a character
// that Windows-1251 cannot.
std::optional<QByteArray> WriteSettings(const Settings &settings);

// Windows-1251: through Qt's converter where this Qt build has one (with
// ICU), else through a table of the upper half.  Encoding gives nothing for
// a character the code page does not hold.
enum class Converter { Qt, Table };
QString DecodeWindows1251(QByteArrayView bytes, Converter converter = Converter::Qt);
std::optional<QByteArray> EncodeWindows1251(QStringView text, Converter converter = Converter::Qt);

} // namespace ostrel
