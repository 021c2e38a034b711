// SPDX-License-Identifier: GPL-3.0-or-later
// A result label draws its text exactly as a plain-text label with word
// wrap draws the same text, and reads as that text to a screen reader.

#include <QAccessible>
#include <QLabel>

#include <gtest/gtest.h>

#include "app/result_label.h"

namespace ostrel::testing {
namespace {

QImage Picture(QWidget &widget, bool enabled) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(13);
  widget.setFont(font);
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
  widget.setPalette(palette);
  widget.setFixedSize(70, 34);
  widget.setEnabled(enabled);
  return widget.grab().toImage();
}

TEST(ResultLabel, DrawsAsAPlainTextLabel) {
  const struct {
    const char *text;
    Qt::Alignment align;
    bool enabled;
  } rows[] = {
      {"12.34", Qt::AlignLeft, true},
      {"-0.0145", Qt::AlignRight, true},
      {"2461382.5", Qt::AlignHCenter, true},
      {"179", Qt::AlignRight, false},
      {"Sun below the horizon", Qt::AlignLeft, true},
      {"Солнце под горизонтом", Qt::AlignRight, true},
      {"שמש 12", Qt::AlignLeft, true},
      {"12 שמש", Qt::AlignHCenter, true},
      {"", Qt::AlignLeft, true},
  };
  for (const auto &row : rows) {
    const QString text = QString::fromUtf8(row.text);
    SCOPED_TRACE(text.toStdString());
    QLabel label(text);
    label.setTextFormat(Qt::PlainText);
    label.setWordWrap(true);
    label.setAlignment(row.align | Qt::AlignTop);
    ResultLabel result(text, row.align | Qt::AlignTop, nullptr);
    const QImage expected = Picture(label, row.enabled);
    EXPECT_EQ(Picture(result, row.enabled), expected);
    // The same after a change of text.
    label.setText(QStringLiteral("0.5"));
    result.setText(QStringLiteral("0.5"));
    EXPECT_EQ(result.grab().toImage(), label.grab().toImage());
  }
}

int nameChanges = 0;

// Screen readers read the text shown.  With none active (no platform bridge
// here) a new text is not announced: nobody would hear it.
TEST(ResultLabel, ReadsAsStaticTextOfTheTextShown) {
  ResultLabel label(QStringLiteral("1"), Qt::AlignLeft, nullptr);
  QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&label);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->role(), QAccessible::StaticText);
  EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("1"));

  ASSERT_FALSE(QAccessible::isActive());
  nameChanges = 0;
  const auto previous = QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
    nameChanges += event->type() == QAccessible::NameChanged;
  });
  label.setText(QStringLiteral("2"));
  QAccessible::installUpdateHandler(previous);
  EXPECT_EQ(nameChanges, 0);
  EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("2"));
}

} // namespace
} // namespace ostrel::testing

namespace ostrel::testing {
namespace {

// Tools that read widgets generically read a result label's text as they
// read a QLabel's: through the "text" property, both ways.
TEST(ResultLabel, TextIsAProperty) {
  QWidget parent;
  ResultLabel label(QStringLiteral("12"), Qt::AlignLeft, &parent);
  QLabel plain(QStringLiteral("12"));
  EXPECT_EQ(label.property("text"), plain.property("text"));
  EXPECT_TRUE(label.setProperty("text", QStringLiteral("13.5")));
  EXPECT_EQ(label.text(), QStringLiteral("13.5"));
  EXPECT_EQ(label.property("text").toString(), QStringLiteral("13.5"));
}

} // namespace
} // namespace ostrel::testing
