// Reading an input field: its text is parsed, the value kept in the
// precision of its Observation field, and the normal form of that value
// (always with ".") written back into the field at once.
#pragma once

#include <QComboBox>
#include <QLineEdit>

#include "core/numtext.h"

namespace ostrel {

inline FieldReading<double> ReadDoubleText(QLineEdit *field) {
  FieldReading<double> reading = ReadDoubleField(field->text().toStdString());
  field->setText(QString::fromStdString(reading.text));
  return reading;
}

inline FieldReading<float> ReadSingleText(QLineEdit *field) {
  FieldReading<float> reading = ReadSingleField(field->text().toStdString());
  field->setText(QString::fromStdString(reading.text));
  return reading;
}

inline FieldReading<double> ReadDoubleText(QComboBox *field) {
  FieldReading<double> reading = ReadDoubleField(field->currentText().toStdString());
  field->setEditText(QString::fromStdString(reading.text));
  return reading;
}

} // namespace ostrel
