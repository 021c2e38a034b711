// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about_box.h"

#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "app/bilingual.h"
#include "app/layout.h"

namespace ostrel {
namespace {

struct AboutControl {
  const char *name;
  Bilingual text;
  int left, top, width, height;                  // twips, English box
  int russianLeft, russianTop, russianWidth, russianHeight; // twips, Russian box
  int pixelSize;                                 // 0: the window's default face (F5)
  bool russianCentred;
  bool centred;
  bool wraps = false; // at blanks, within its box
};

// Client area 4215 x 2955 twips; the notice and the logo are our own.  The
// last row credits the list of towns under its licence (CC BY 4.0 asks for
// the source to be named): one line in English, two in Russian.
constexpr AboutControl kControls[] = {
    {"Label1", {"Ostrel, Version 3.5", "Острел. Версия 3.5"}, 600, 120, 3012, 252, 0, 120, 4212,
     252, 13, false, false},
    {"Label2", {"A desktop Sun calculator", "Солнечный калькулятор"}, 1080, 480, 3015, 255, 840,
     480, 3255, 255, 11, true, false},
    {"Label3", {"Written by\nthe Ostrel team\n2026", "Написан\nкомандой Острела\n2026"}, 1080, 720,
     3012, 612, 1080, 720, 3012, 612, 0, true, true},
    {"Label5", {"Clear skies!", "Приятной работы"}, 1440, 1800, 1812, 252, 1440, 1800, 1812, 252,
     11, true, false},
    {"Label6",
     {"Town list: GeoNames (geonames.org), CC BY 4.0",
      "Список городов: GeoNames (geonames.org), CC BY 4.0"},
     120, 2475, 3975, 420, 120, 2475, 3975, 420, 0, false, false, true},
};

constexpr Bilingual kTitle{"About Ostrel", "О Остреле"};

QRect Pixels(int left, int top, int width, int height) {
  constexpr int k = layout::kTwipsPerPixel;
  return {left / k, top / k, width / k, height / k};
}

} // namespace

AboutBox::AboutBox(Language language) : QDialog(nullptr) {
  const bool russian = language == Language::Russian;
  setObjectName(russian ? QStringLiteral("frmAbout_rus") : QStringLiteral("frmAbout"));
  setWindowTitle(kTitle.In(russian));
  // Closed by its title-bar button it is destroyed; OK only hides it.
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(Pixels(0, 0, 4215, 2955).size());

  for (const AboutControl &row : kControls) {
    auto *label = new QLabel(row.text.In(russian), this);
    label->setObjectName(QString::fromLatin1(row.name));
    label->setGeometry(russian ? Pixels(row.russianLeft, row.russianTop, row.russianWidth,
                                        row.russianHeight)
                               : Pixels(row.left, row.top, row.width, row.height));
    const bool centred = row.centred || (russian && row.russianCentred);
    label->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    label->setWordWrap(row.wraps);
    if (row.pixelSize) {
      QFont font(QStringLiteral("Liberation Sans"));
      font.setPixelSize(row.pixelSize);
      font.setBold(true);
      label->setFont(font);
    } else {
      label->setFont(layout::FontOf(layout::Font::F5));
    }
  }

  auto *logo = new QLabel(this);
  logo->setObjectName(QStringLiteral("Image1"));
  logo->setGeometry(Pixels(120, 1320, 960, 960));
  logo->setPixmap(QPixmap(QStringLiteral(":/ostrel/logo.png")));

  auto *ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Command1"));
  ok->setGeometry(Pixels(3120, 2040, 852, 372));
  ok->setFont(layout::FontOf(layout::Font::F5));
  ok->setDefault(true); // Enter presses it
  connect(ok, &QPushButton::clicked, this, &AboutBox::Command1_Click);
}

void AboutBox::Command1_Click() { hide(); }

} // namespace ostrel
