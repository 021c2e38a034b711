// SPDX-License-Identifier: GPL-3.0-or-later
// The reference of the tick benchmark: a bare Qt 6 main window with the
// controls of Ostrel's window, built from the same layout tables (kinds,
// texts, boxes, fonts, colours, lines, list items, menus), whose timer only
// gives the 35 result labels new texts once a second.  It computes nothing
// and is tuned in nothing, so its figures are what any window of these
// controls pays for showing a second's results.
//
// Every tick changes every result label (each shows the clock's second plus
// its own index, modulo 60), which is the most repainting a tick of the
// real window can cause among its labels.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTime>
#include <QTimer>

#include <array>

#include "app/layout.h"
#include "app/tick_log.h"
#include "core/run/records.h"

namespace {

namespace layout = ostrel::layout;

QWidget *MakeControl(const layout::Control &row, QWidget *parent) {
  const QString text = QString::fromUtf8(row.text);
  switch (row.kind) {
  case layout::Kind::Label: {
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(layout::AlignmentOf(row.align) | Qt::AlignTop);
    return label;
  }
  case layout::Kind::TextBox: {
    auto *edit = new QLineEdit(text, parent);
    edit->setAlignment(layout::AlignmentOf(row.align) | Qt::AlignVCenter);
    return edit;
  }
  case layout::Kind::ComboBox: {
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    return combo;
  }
  case layout::Kind::ListBox:
    return new QListWidget(parent);
  case layout::Kind::OptionButton:
    return new QRadioButton(parent);
  case layout::Kind::Button:
    return new QPushButton(text, parent);
  }
  return nullptr;
}

void SetColours(QWidget *widget, QRgb text, QRgb background, bool fill) {
  QPalette palette = widget->palette();
  // A disabled control keeps the style's greyed text, as in Ostrel's window.
  for (const auto group : {QPalette::Active, QPalette::Inactive})
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
      palette.setColor(group, role, QColor(text));
  if (fill)
    palette.setColor(QPalette::Window, QColor(background));
  widget->setPalette(palette);
  widget->setAutoFillBackground(fill);
}

class ReferenceWindow : public QMainWindow {
public:
  ReferenceWindow() {
    setWindowTitle(QStringLiteral("Ostrel reference"));
    auto *client = new QWidget(this);
    client->setFixedSize(
        layout::PixelBox(0, 0, layout::kClientWidth, layout::kClientHeight).size());
    client->setFont(layout::FontOf(layout::Font::F5));
    SetColours(client, qRgb(0, 0, 0), layout::kBackground, true);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    for (const layout::Line &line : layout::Lines()) {
      auto *bar = new QWidget(client);
      const QRect from = layout::PixelBox(line.x1, line.y1, 0, 0);
      const QRect to = layout::PixelBox(line.x2, line.y2, 0, 0);
      const int half = line.thickness / 2;
      if (line.y1 == line.y2)
        bar->setGeometry(from.x(), from.y() - half, to.x() - from.x() + 1, line.thickness);
      else
        bar->setGeometry(from.x() - half, from.y(), line.thickness, to.y() - from.y() + 1);
      SetColours(bar, line.colour, line.colour, true);
    }

    QHash<QString, QWidget *> byName;
    for (const layout::Control &row : layout::Controls()) {
      QWidget *widget = MakeControl(row, client);
      widget->setGeometry(layout::PixelBox(row.left, row.top, row.width, row.height));
      widget->setFont(layout::FontOf(row.font));
      SetColours(widget, row.colour, 0, false);
      widget->setEnabled(row.enabled);
      byName.insert(QString::fromUtf8(row.name), widget);
    }
    for (const layout::ListItems &row : layout::Items()) {
      QWidget *widget = byName.value(QString::fromUtf8(row.name));
      if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        combo->addItems(layout::ItemTexts(row));
        combo->setCurrentIndex(-1);
      } else if (auto *list = qobject_cast<QListWidget *>(widget)) {
        list->addItems(layout::ItemTexts(row));
      }
    }
    if (auto *option = qobject_cast<QRadioButton *>(byName.value(QStringLiteral("Option1"))))
      option->setChecked(true);
    for (std::size_t i = 0; i < labels_.size(); ++i)
      labels_[i] = qobject_cast<QLabel *>(
          byName.value(QString::fromUtf8(ostrel::SunReport::Labels[i].first)));

    QHash<QString, QMenu *> menus;
    for (const layout::MenuEntry &entry : layout::Menus()) {
      const QString caption = QString::fromUtf8(entry.caption);
      QMenu *parentMenu =
          entry.parent ? menus.value(QString::fromUtf8(entry.parent)) : nullptr;
      if (entry.isMenu) {
        menus.insert(QString::fromUtf8(entry.name),
                     parentMenu ? parentMenu->addMenu(caption)
                                : menuBar()->addMenu(caption));
        continue;
      }
      QAction *item = parentMenu->addAction(caption);
      item->setCheckable(entry.checkable);
      item->setChecked(entry.checked);
    }

    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    connect(timer, &QTimer::timeout, this, &ReferenceWindow::Tick);
    timer->start(1000);
  }

private:
  void Tick() {
    const int second = QTime::currentTime().second();
    for (std::size_t i = 0; i < labels_.size(); ++i)
      labels_[i]->setText(QString::number((second + int(i)) % 60));
  }

  std::array<QLabel *, ostrel::SunReport::Labels.size()> labels_{};
};

} // namespace

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  ReferenceWindow window;
  window.show();
  ostrel::InstallTickLog(window, "Timer1");
  return app.exec();
}
