// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/result_label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace ostrel {
namespace {

// What a screen reader is told of a result label: static text whose name
// is the text shown, as for a QLabel.
class AccessibleResultLabel : public QAccessibleWidget {
public:
  explicit AccessibleResultLabel(ResultLabel *label)
      : QAccessibleWidget(label, QAccessible::StaticText) {}

  QString text(QAccessible::Text kind) const override {
    if (kind != QAccessible::Name)
      return QAccessibleWidget::text(kind);
    const QString name = widget()->accessibleName();
    return name.isEmpty() ? static_cast<const ResultLabel *>(widget())->text() : name;
  }
};

QAccessibleInterface *MakeAccessible(const QString &className, QObject *object) {
  if (className == QLatin1StringView(ResultLabel::staticMetaObject.className()))
    return new AccessibleResultLabel(static_cast<ResultLabel *>(object));
  return nullptr;
}

} // namespace

ResultLabel::ResultLabel(const QString &text, Qt::Alignment alignment, QWidget *parent)
    : QWidget(parent), text_(text), alignment_(alignment) {
  static const bool installed = [] {
    QAccessible::installFactory(MakeAccessible);
    return true;
  }();
  (void)installed;
}

void ResultLabel::setText(const QString &text) {
  if (text == text_)
    return;
  text_ = text;
  update();
  if (QAccessible::isActive()) {
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
  }
}

void ResultLabel::paintEvent(QPaintEvent *event) {
  QPainter painter(this);
  // An opaque label paints its whole box, background first.
  if (testAttribute(Qt::WA_OpaquePaintEvent))
    painter.fillRect(event->rect(), palette().window());
  // The flags and colours of QLabel's own painting of a plain text.
  const bool rightToLeft = text_.isRightToLeft();
  const int flags =
      int(QStyle::visualAlignment(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight, alignment_)) |
      Qt::TextWordWrap | (rightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
  QStyleOption option;
  option.initFrom(this);
  style()->drawItemText(&painter, contentsRect(), flags, option.palette, isEnabled(), text_,
                        foregroundRole());
}

} // namespace ostrel
