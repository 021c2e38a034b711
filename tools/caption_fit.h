// SPDX-License-Identifier: GPL-3.0-or-later
// Whether every caption and value of a window is shown whole: no text runs
// past its box or is cut at its edge.  A caption that is too long for its
// box in one language is easy to miss by eye, so the screenshot tool checks
// each text the way the control draws it.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

namespace ostrel::tools {

// Where `text` puts ink when drawn with `font` and `flags` in `layoutBox`
// (widget coordinates) without clipping: the smallest rectangle holding
// every painted pixel, or an empty one for a blank text.
QRect InkOf(const QFont &font, const QRect &layoutBox, int flags, const QString &text);

// The text of one control that is not shown whole: which control, the text,
// where its ink falls and the box it must stay inside.
struct Misfit {
  QString control;
  QString text;
  QRect ink;
  QRect box;
};

// Every visible label, text box, combo box text, button, option button,
// list item and menu title of `window` whose text is not shown whole.
QList<Misfit> FindMisfits(const QWidget &window);

// "AzimSun: "Azimuth from north" draws at x 3..97 y 2..14, box x 0..90 y 0..16".
QString Describe(const Misfit &misfit);

} // namespace ostrel::tools
