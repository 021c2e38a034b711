// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/day_window.h"

namespace ostrel {

DayWindow::DayWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmDay"));
}

void DayWindow::ShowDay(const Site &, CivilDate, std::int16_t, std::optional<double>) {}
void DayWindow::SetRussian(bool) {}
const DayEvents &DayWindow::events() const {
  static const DayEvents none;
  return none;
}
bool DayWindow::savePicture(const QString &, const QString &) { return false; }

} // namespace ostrel
