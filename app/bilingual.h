// SPDX-License-Identifier: GPL-3.0-or-later
// A text of the windows in their two languages, as UTF-8 in the tables of
// captions, shown as a QString in the language asked for.
#pragma once

#include <QString>

namespace ostrel {

struct Bilingual {
  const char *english;
  const char *russian;

  QString In(bool inRussian) const { return QString::fromUtf8(inRussian ? russian : english); }
};

} // namespace ostrel
