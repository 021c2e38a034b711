// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/caption_fit.h"

#include <QAction>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

#include "app/result_label.h"

namespace ostrel::tools {
namespace {

// A pixel counts as ink from this alpha on (0..255).  The faint edge of an
// anti-aliased glyph that a box cuts off is not seen as a cut letter; a
// stroke that is more than about a third covered is.
constexpr int kInkAlpha = 96;

// The horizontal margin a line edit keeps on each side of its text, pixels
// (the value Qt's line edit uses internally).
constexpr int kLineEditMargin = 2;

// The control's name for the report: its own, or for the text box inside
// a combo box, the combo box's.
QString NameOf(const QWidget &widget) {
  if (!widget.objectName().isEmpty())
    return widget.objectName();
  if (widget.parentWidget() && !widget.parentWidget()->objectName().isEmpty())
    return widget.parentWidget()->objectName();
  return QString::fromLatin1(widget.metaObject()->className());
}

void Check(QList<Misfit> &misfits, const QString &name, const QString &text,
           const QRect &ink, const QRect &box) {
  if (!ink.isEmpty() && !box.contains(ink))
    misfits.append({name, text, ink, box});
}

void CheckLabel(QList<Misfit> &misfits, const QLabel &label) {
  if (label.text().isEmpty() || label.textFormat() == Qt::RichText)
    return;
  // As QLabel lays out a plain text: inside the margin, and the indent on
  // the aligned sides (half an "x" when the label has a frame).
  const QFontMetrics metrics(label.font());
  QRect layoutBox = label.contentsRect().adjusted(label.margin(), label.margin(),
                                                  -label.margin(), -label.margin());
  int indent = label.indent();
  if (indent < 0)
    indent = label.frameWidth() > 0 ? metrics.horizontalAdvance(QLatin1Char('x')) / 2 : 0;
  const Qt::Alignment align = label.alignment();
  if (align & Qt::AlignLeft)
    layoutBox.setLeft(layoutBox.left() + indent);
  if (align & Qt::AlignRight)
    layoutBox.setRight(layoutBox.right() - indent);
  if (align & Qt::AlignTop)
    layoutBox.setTop(layoutBox.top() + indent);
  if (align & Qt::AlignBottom)
    layoutBox.setBottom(layoutBox.bottom() - indent);
  const int flags = int(align) | (label.wordWrap() ? Qt::TextWordWrap : 0);
  Check(misfits, NameOf(label), label.text(), InkOf(label.font(), layoutBox, flags, label.text()),
        label.rect());
}

// A result label lays out its text as a plain-text label without margin,
// indent or frame, wrapping at blanks.
void CheckResultLabel(QList<Misfit> &misfits, const ostrel::ResultLabel &label) {
  const int flags = int(label.alignment()) | Qt::TextWordWrap;
  Check(misfits, NameOf(label), label.text(),
        InkOf(label.font(), label.contentsRect(), flags, label.text()), label.rect());
}

void CheckLineEdit(QList<Misfit> &misfits, const QLineEdit &edit) {
  if (edit.text().isEmpty())
    return;
  QStyleOptionFrame frame;
  frame.initFrom(&edit);
  frame.rect = edit.contentsRect();
  frame.lineWidth =
      edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, &edit) : 0;
  frame.state |= QStyle::State_Sunken;
  // The line edit clips its text to `contents` and scrolls a text wider
  // than `line`, which then shows cut.
  const QRect contents =
      edit.style()->subElementRect(QStyle::SE_LineEditContents, &frame, &edit)
          .marginsRemoved(edit.textMargins());
  const QFontMetrics metrics(edit.font());
  const QRect line(contents.x() + kLineEditMargin,
                   contents.y() + (contents.height() - metrics.height() + 1) / 2,
                   contents.width() - 2 * kLineEditMargin, metrics.height());
  const Qt::Alignment horizontal = edit.alignment() & Qt::AlignHorizontal_Mask;
  const QRect ink = InkOf(edit.font(), line, int(horizontal | Qt::AlignVCenter), edit.text());
  if (metrics.horizontalAdvance(edit.text()) > line.width())
    misfits.append({NameOf(edit), edit.text(), ink, line});
  else
    Check(misfits, NameOf(edit), edit.text(), ink, contents);
}

// A push button centres its text in its contents; an option button puts it
// to the right of its circle, centred in the height of the button.
void CheckButton(QList<Misfit> &misfits, const QAbstractButton &button) {
  if (button.text().isEmpty())
    return;
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  const bool push = qobject_cast<const QPushButton *>(&button) != nullptr;
  const QRect contents = button.style()->subElementRect(
      push ? QStyle::SE_PushButtonContents : QStyle::SE_RadioButtonContents, &option, &button);
  const int flags = Qt::TextShowMnemonic |
                    (push ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter));
  const QRect box =
      push ? contents : QRect(contents.left(), 0, contents.width(), button.height());
  Check(misfits, NameOf(button), button.text(), InkOf(button.font(), contents, flags, button.text()),
        box);
}

// Each item of a list box shows alone in the one visible row (the view's
// whole width), with the item view's text margin on either side.
void CheckList(QList<Misfit> &misfits, const QListWidget &list) {
  const QRect row(QPoint(0, 0), list.viewport()->size());
  const int margin = list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
  for (int i = 0; i < list.count(); ++i) {
    const QListWidgetItem *item = list.item(i);
    const QVariant alignment = item->data(Qt::TextAlignmentRole);
    const int flags =
        alignment.isValid() ? alignment.toInt() : int(Qt::AlignLeft | Qt::AlignVCenter);
    Check(misfits, NameOf(list) + QStringLiteral("[%1]").arg(i), item->text(),
          InkOf(list.font(), row.adjusted(margin, 0, -margin, 0), flags, item->text()), row);
  }
}

// A menu title that does not fit in the menu bar moves into its overflow
// button and no longer shows.
void CheckMenuBar(QList<Misfit> &misfits, const QMenuBar &bar) {
  for (QAction *action : bar.actions()) {
    if (!action->isVisible() || action->isSeparator())
      continue;
    const QRect title = bar.actionGeometry(action);
    if (title.isEmpty() || !bar.rect().contains(title))
      misfits.append({NameOf(bar) + QLatin1Char('/') + action->objectName(), action->text(),
                      title, bar.rect()});
  }
}

} // namespace

QRect InkOf(const QFont &font, const QRect &layoutBox, int flags, const QString &text) {
  if (text.trimmed().isEmpty())
    return {};
  // Drawn without clipping on a canvas that holds the laid-out text with
  // room to spare, so that ink beyond the box is seen where it falls.
  const QFontMetrics metrics(font);
  const int room = 2 * metrics.height();
  const QRect laidOut =
      metrics.boundingRect(layoutBox, flags | Qt::TextDontClip, text).united(layoutBox);
  const QRect canvasBox = laidOut.adjusted(-room, -room, room, room);
  QImage canvas(canvasBox.size(), QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  {
    QPainter painter(&canvas);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.translate(-canvasBox.topLeft());
    painter.drawText(layoutBox, flags | Qt::TextDontClip, text);
  }
  int left = canvas.width(), top = canvas.height(), right = -1, bottom = -1;
  for (int y = 0; y < canvas.height(); ++y) {
    const auto *pixels = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
    for (int x = 0; x < canvas.width(); ++x) {
      if (qAlpha(pixels[x]) < kInkAlpha)
        continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0)
    return {};
  return QRect(QPoint(left, top), QPoint(right, bottom)).translated(canvasBox.topLeft());
}

QList<Misfit> FindMisfits(const QWidget &window) {
  QList<Misfit> misfits;
  for (const QWidget *widget : window.findChildren<QWidget *>()) {
    if (!widget->isVisibleTo(&window))
      continue;
    if (const auto *label = qobject_cast<const QLabel *>(widget))
      CheckLabel(misfits, *label);
    else if (const auto *result = qobject_cast<const ostrel::ResultLabel *>(widget))
      CheckResultLabel(misfits, *result);
    else if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
      CheckLineEdit(misfits, *edit);
    else if (qobject_cast<const QPushButton *>(widget) ||
             qobject_cast<const QRadioButton *>(widget))
      CheckButton(misfits, *static_cast<const QAbstractButton *>(widget));
    else if (const auto *list = qobject_cast<const QListWidget *>(widget))
      CheckList(misfits, *list);
    else if (const auto *bar = qobject_cast<const QMenuBar *>(widget))
      CheckMenuBar(misfits, *bar);
  }
  return misfits;
}

QString Describe(const Misfit &misfit) {
  return QStringLiteral("%1: \"%2\" draws at x %3..%4 y %5..%6, its box is x %7..%8 y %9..%10")
      .arg(misfit.control, misfit.text)
      .arg(misfit.ink.left())
      .arg(misfit.ink.right())
      .arg(misfit.ink.top())
      .arg(misfit.ink.bottom())
      .arg(misfit.box.left())
      .arg(misfit.box.right())
      .arg(misfit.box.top())
      .arg(misfit.box.bottom());
}

} // namespace ostrel::tools
