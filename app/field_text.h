// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an input field: its text is parsed, the value kept in the
// precision the calculation keeps for it (single for the minutes of arc and
// the time zone, double for the rest), and the normal form of that value
// (always with ".") written back into the field at once.
//
// "Calculate" always writes the text back: what the user typed is replaced
// and the cursor goes to its end.  A tick of real-time tracking writes only
// a text that differs from the field's, because it rewrites the same fields
// every second and a field given its own text again is repainted for
// nothing (and loses its cursor place and undo steps).
#pragma once

#include <QComboBox>
#include <QLineEdit>

#include <charconv>
#include <type_traits>

#include "core/text/numtext.h"

namespace ostrel {

enum class WriteBack { Always, IfChanged };

inline void SetFieldText(QLineEdit *field, const QString &text, WriteBack writeBack) {
  if (writeBack == WriteBack::Always || field->text() != text)
    field->setText(text);
}

inline void SetFieldText(QComboBox *field, const QString &text, WriteBack writeBack) {
  // An editable combo box's current text is the text of its line edit.
  if (writeBack == WriteBack::Always || field->currentText() != text)
    field->setEditText(text);
}

// A whole number written into a field as a tick does, only when the field
// shows another text.  It is compared as it stands in a byte buffer, so a
// field that keeps its number costs no string at all.
template <typename Field>
void SetFieldNumber(Field *field, int value) {
  char digits[12];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const QLatin1StringView text(digits, end - digits);
  if constexpr (std::is_same_v<Field, QComboBox>) {
    if (field->currentText() != text)
      field->setEditText(text);
  } else {
    if (field->text() != text)
      field->setText(text);
  }
}

inline FieldReading<double> ReadDoubleText(QLineEdit *field,
                                           WriteBack writeBack = WriteBack::Always) {
  FieldReading<double> reading = ReadDoubleField(field->text().toStdString());
  SetFieldText(field, QString::fromStdString(reading.text), writeBack);
  return reading;
}

inline FieldReading<float> ReadSingleText(QLineEdit *field,
                                          WriteBack writeBack = WriteBack::Always) {
  FieldReading<float> reading = ReadSingleField(field->text().toStdString());
  SetFieldText(field, QString::fromStdString(reading.text), writeBack);
  return reading;
}

inline FieldReading<double> ReadDoubleText(QComboBox *field,
                                           WriteBack writeBack = WriteBack::Always) {
  FieldReading<double> reading = ReadDoubleField(field->currentText().toStdString());
  SetFieldText(field, QString::fromStdString(reading.text), writeBack);
  return reading;
}

} // namespace ostrel
