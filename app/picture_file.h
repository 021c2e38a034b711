// SPDX-License-Identifier: GPL-3.0-or-later
// Saving what the day and year windows show: a widget's picture as PNG or
// SVG, and bytes such as a CSV.  A file is replaced only once it is whole
// (QSaveFile); a failed save leaves any old file as it was and says why.
#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

namespace ostrel {

// The picture of `widget` at the size shown (times its device pixel ratio)
// as PNG or SVG, chosen by the suffix of `path` (case ignored).  The whole
// file is formed in memory first, because neither QSvgGenerator nor
// QImage::save into a device reports every failed write.  Returns false
// with the reason in `why` (in the window's language) on an unknown
// suffix or a failed write.
bool SaveWidgetPicture(QWidget *widget, const QString &path, bool russian, QString &why);

// `bytes` as the whole content of `path`.
bool SaveFileBytes(const QString &path, const QByteArray &bytes, bool russian, QString &why);

// Why `path` was not saved, in the window's language: its file name and
// `reason`.
QString CouldNotSave(const QString &path, const QString &reason, bool russian);

// The one message box of a failed save: titled "Ostrel", one OK button.
void ShowSaveFailure(QWidget *parent, const QString &why);

} // namespace ostrel
