// Reading an input field: its text is parsed, the value kept in the
// precision of its Observation field, and the normal form of that value
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

#include "core/numtext.h"

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
