// SPDX-License-Identifier: GPL-3.0-or-later
// The two interface languages as data: every caption that a switch of
// language sets, in the order the switch sets it.
#pragma once

#include <span>

#include "app/bilingual.h"

class QWidget;

namespace ostrel::languages {

struct Caption {
  const char *control; // objectName of a label, button, menu or menu item
  Bilingual text;
};

// Sets the caption of the control of `window` named in `row`, whatever its
// kind (label, button, menu, menu item), or the window's own title where
// the row names the window.
void SetCaption(QWidget &window, const Caption &row, bool russian);

// Rows 1 to 9: the headings above the inputs, set before the hemisphere
// lists are refilled.
std::span<const Caption> Headings();
// The items of List1 and List2 (index 0 and 1).
std::span<const Caption> HemisphereItems();
// The labels and the two buttons, then the menus, set after the lists.
std::span<const Caption> Captions();

// The title bar: "Ostrel" alone in the classic theory, in either language,
// as it has always been; with the theory's name in the precise one.
inline constexpr const char *kTitle = "Ostrel";
inline constexpr Bilingual kPreciseTitle{"Ostrel — precise", "Ostrel — точная"};

// The language marks: the caption of Command1 tells the About command the
// language, and the caption of AzimSun is saved as the language token.
inline constexpr const char *kEnglishCancel = "Cancel";
inline constexpr const char *kRussianToken = "Азимут";

} // namespace ostrel::languages
