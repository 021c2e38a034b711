// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/year_window.h"

namespace ostrel {

YearWindow::YearWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmYear"));
}

void YearWindow::ShowYear(const Site &, CivilDate) {}
void YearWindow::SetRussian(bool) {}
bool YearWindow::saveCsv(const QString &) { return false; }
bool YearWindow::savePicture(const QString &) { return false; }

} // namespace ostrel
