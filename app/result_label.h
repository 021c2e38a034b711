// SPDX-License-Identifier: GPL-3.0-or-later
// A result label: one text in a fixed box, drawn as a plain-text QLabel
// with word wrap draws it, which a tick may change every second.
//
// QLabel::setText also recomputes the label's size hint, asks its parent
// for a new layout, and looks up the label's accessibility interface to
// announce the change, whether a screen reader listens or not.  A result
// label's box is fixed, so a new text here only repaints the box, and the
// change is announced only while assistive technology is active.
#pragma once

#include <QString>
#include <QWidget>

namespace ostrel {

class ResultLabel : public QWidget {
  Q_OBJECT
  // Read as a QLabel's text is read by tools that walk widgets generically.
  Q_PROPERTY(QString text READ text WRITE setText)

public:
  ResultLabel(const QString &text, Qt::Alignment alignment, QWidget *parent);

  const QString &text() const { return text_; }
  Qt::Alignment alignment() const { return alignment_; }
  // Shows `text`; the text shown already changes nothing.
  void setText(const QString &text);

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  QString text_;
  Qt::Alignment alignment_;
};

} // namespace ostrel
