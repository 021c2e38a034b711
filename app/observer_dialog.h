// SPDX-License-Identifier: GPL-3.0-or-later
// The "Observer..." dialog of the day window: the eye's height above the
// sea and above the ground of its horizon, the air's pressure and
// temperature, and the skyline read from a file.  OK is refused, with the
// core's reason in a message box "Ostrel", until the values are accepted;
// a skyline file that cannot be read is refused the same way, with its
// line, and the skyline shown before stays.
#pragma once

#include <QDialog>

#include "app/observer_settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace ostrel {

class ObserverDialog : public QDialog {
  Q_OBJECT
public:
  ObserverDialog(const ObserverChoice &choice, bool russian, QWidget *parent = nullptr);

  // What the dialog holds; after OK, what was accepted.
  const ObserverChoice &choice() const { return choice_; }

public slots:
  // Reads the skyline from `path`; false, after one message box saying
  // why (with the line), when it cannot be read, the skyline unchanged.
  bool openHorizon(const QString &path);
  // No skyline.
  void clearHorizon();
  // Checks the values and closes with them, or says what is wrong and
  // stays open.
  void accept() override;

private:
  // The file dialog, then openHorizon.
  void AskHorizon();
  // The skyline's file name or "none", and the standard pressure as the
  // empty pressure field's hint.
  void ShowHorizon();
  void ShowStandardPressure();
  void EnableFields();
  void ShowMessage(const QString &text);

  ObserverChoice choice_;
  bool russian_ = false;
  QCheckBox *on_ = nullptr;
  QLineEdit *elevation_ = nullptr, *eye_ = nullptr, *pressure_ = nullptr, *temperature_ = nullptr;
  QLabel *horizon_ = nullptr;
};

} // namespace ostrel
