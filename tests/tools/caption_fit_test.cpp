// SPDX-License-Identifier: GPL-3.0-or-later
// The check of the screenshot tool: a text is reported exactly when its
// control would show it cut.  Widths are chosen well clear of the text's
// width in 11-pixel Liberation Sans, so that the rows hold for any
// rendering of that face.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "app/result_label.h"
#include "tools/caption_fit.h"

namespace ostrel::tools {
namespace {

struct Row {
  const char *what;
  std::function<QWidget *(QWidget *parent)> make;
  bool cut;
};

QLabel *Caption(QWidget *parent, const char *text, int width, int height) {
  auto *label = new QLabel(QString::fromUtf8(text), parent);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label->resize(width, height);
  return label;
}

template <typename Widget>
Widget *Sized(Widget *widget, int width, int height) {
  widget->resize(width, height);
  return widget;
}

QListWidget *List(QWidget *parent, const QStringList &items, int width) {
  auto *list = Sized(new QListWidget(parent), width, 20);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->addItems(items);
  return list;
}

const Row kRows[] = {
    {"one-line caption in its box", [](QWidget *p) { return Caption(p, "Azimuth", 80, 16); }, false},
    {"two-line caption in a two-line box",
     [](QWidget *p) { return Caption(p, "Zenith angle", 50, 34); }, false},
    {"caption wrapped below a one-line box",
     [](QWidget *p) { return Caption(p, "Equation of time in local noon", 90, 16); }, true},
    {"word wider than its box",
     [](QWidget *p) { return Caption(p, "Кульминация", 30, 40); }, true},
    {"result in its label",
     [](QWidget *p) { return Sized(new ResultLabel("2461382.5", Qt::AlignRight, p), 80, 16); },
     false},
    {"result wider than its label",
     [](QWidget *p) { return Sized(new ResultLabel("2461382.5", Qt::AlignRight, p), 30, 16); },
     true},
    {"value in its text box",
     [](QWidget *p) { return Sized(new QLineEdit("2026", p), 60, 20); }, false},
    {"value wider than its text box",
     [](QWidget *p) { return Sized(new QLineEdit("1234567890123", p), 40, 20); }, true},
    {"button caption in its button",
     [](QWidget *p) { return Sized(new QPushButton("Cancel", p), 80, 26); }, false},
    {"button caption wider than its button",
     [](QWidget *p) { return Sized(new QPushButton("Вычислить сейчас", p), 50, 26); }, true},
    {"option caption beside its circle",
     [](QWidget *p) { return Sized(new QRadioButton("Manual", p), 120, 20); }, false},
    {"option caption past the button's edge",
     [](QWidget *p) { return Sized(new QRadioButton("Manual input", p), 40, 20); }, true},
    {"list items in the row", [](QWidget *p) { return List(p, {"East", "West"}, 70); }, false},
    {"second list item wider than the row",
     [](QWidget *p) { return List(p, {"East", "Western hemisphere"}, 70); }, true},
};

TEST(CaptionFit, ReportsExactlyTheCutTexts) {
  for (const Row &row : kRows) {
    QWidget window;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    window.setFont(font);
    row.make(&window)->setObjectName(QStringLiteral("Control"));
    window.resize(300, 100);
    // Shown, so that scroll areas lay out their viewports.
    window.show();
    QApplication::processEvents();
    const QList<Misfit> misfits = FindMisfits(window);
    QStringList described;
    for (const Misfit &misfit : misfits)
      described << Describe(misfit);
    EXPECT_EQ(!misfits.isEmpty(), row.cut)
        << row.what << ": " << described.join(QStringLiteral("; ")).toStdString();
  }
}

TEST(CaptionFit, BlankTextHasNoInk) {
  EXPECT_TRUE(InkOf(QFont(), QRect(0, 0, 40, 16), Qt::AlignLeft, QStringLiteral("  ")).isEmpty());
  EXPECT_FALSE(InkOf(QFont(), QRect(0, 0, 40, 16), Qt::AlignLeft, QStringLiteral("o")).isEmpty());
}

} // namespace
} // namespace ostrel::tools

int main(int argc, char *argv[]) {
  // No display needed: Qt's offscreen platform draws in memory.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
