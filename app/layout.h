// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as data: every control with its kind, initial text, box,
// font, colour, alignment and enabled state; the lines; the menu tree; the
// focus order.  MainWindow builds all of it with one loop per table, so a
// reader can hold a table beside the window and check it row by row.
//
// Boxes are in twips (1/1440 inch) from the top-left corner of the client
// area, as the window was designed; 15 twips make one pixel at 96 dpi.
#pragma once

#include <QFont>
#include <Qt>
#include <QRect>
#include <QRgb>
#include <QStringList>
#include <span>

namespace ostrel::layout {

inline constexpr int kTwipsPerPixel = 15;

// Client area of the main window, twips.
inline constexpr int kClientWidth = 8325;
inline constexpr int kClientHeight = 7320;

inline constexpr QRgb kBackground = qRgb(224, 224, 224);

enum class Kind { Label, TextBox, ComboBox, ListBox, OptionButton, Button };

// F1..F7 of the design: the sans-serif and serif faces at fixed pixel sizes.
enum class Font { F1, F2, F3, F4, F5, F6, F7 };

enum class Align { Left, Centre, Right };

struct Control {
  const char *name;  // objectName; Label5 (i) is "Label5_i"
  Kind kind;
  const char *text;  // caption or text at creation
  int left, top, width, height; // twips
  Font font;
  QRgb colour;       // text colour
  Align align;
  bool enabled;
};

// The items of the combo boxes and list boxes at creation: "a|b" lists the
// items, "1..31" stands for the whole numbers from 1 to 31.
struct ListItems {
  const char *name;
  const char *items;
};

// A straight line drawn as a filled bar `thickness` pixels wide, centred on
// the line from (x1, y1) to (x2, y2); only horizontal and vertical lines occur.
struct Line {
  const char *name;
  int x1, y1, x2, y2; // twips
  int thickness;      // pixels
  QRgb colour;
};

// A menu (isMenu) or a menu item, in the order it appears on screen; parent is
// null for the menus of the menu bar.
struct MenuEntry {
  const char *name;
  const char *caption;
  const char *parent;
  bool isMenu;
  bool checkable;
  bool checked;
};

std::span<const Control> Controls();
std::span<const ListItems> Items();
std::span<const Line> Lines();
std::span<const MenuEntry> Menus();
// The controls the Tab key visits, in order.
std::span<const char *const> FocusOrder();

// The items that a ListItems row stands for.
QStringList ItemTexts(const ListItems &row);

// Pixel box of a twips box: the edges are rounded, so neighbouring boxes
// that touch in twips touch in pixels.
QRect PixelBox(int left, int top, int width, int height);

QFont FontOf(Font font);
// The horizontal alignment of a control's text.
Qt::Alignment AlignmentOf(Align align);

} // namespace ostrel::layout
