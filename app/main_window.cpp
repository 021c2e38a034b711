// SPDX-License-Identifier: GPL-3.0-or-later
// Construction of the main window from the layout tables, the load step,
// the result display and the ways the window talks to the user.  The
// handlers of "Calculate" and of real-time tracking live in
// manual_input.cpp and tracking.cpp.

#include "app/main_window.h"
#include "app/day_window.h"
#include "app/map_window.h"
#include "app/year_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyleOptionComplex>
#include <QTimer>

#include <cstring>
#include <type_traits>

#include "app/about_box.h"
#include "app/hemisphere_list.h"
#include "app/languages.h"
#include "app/layout.h"
#include "app/result_label.h"

namespace ostrel {
namespace {

// The date combo boxes are 37 to 53 pixels wide: their drop-down arrow is
// kept narrow so that the typed number keeps most of the box.
class NarrowArrowStyle : public QProxyStyle {
public:
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                       SubControl part, const QWidget *widget) const override {
    QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
    if (control != CC_ComboBox)
      return rect;
    constexpr int kArrowWidth = 12; // pixels, frame included
    const int arrowLeft = option->rect.right() - kArrowWidth + 1;
    if (part == SC_ComboBoxArrow)
      rect.setLeft(arrowLeft);
    else if (part == SC_ComboBoxEditField)
      rect = QRect(option->rect.left() + 2, rect.top(),
                   arrowLeft - option->rect.left() - 2, rect.height());
    return rect;
  }
};

QStyle *ComboStyle() {
  // One style for every window; it lives as long as the application.
  static QStyle *style = [] {
    QStyle *narrow = new NarrowArrowStyle;
    narrow->setParent(qApp);
    return narrow;
  }();
  return style;
}

// Whether a control built before `widget` in its parent lies beneath it.
bool CoversAnotherControl(const QWidget &widget) {
  for (const QObject *child : widget.parent()->children()) {
    if (child == &widget)
      return false;
    const auto *below = qobject_cast<const QWidget *>(child);
    if (below && below->geometry().intersects(widget.geometry()))
      return true;
  }
  return false;
}

bool IsResultLabel(const char *name) {
  for (const auto &[labelName, text] : SunReport::Labels)
    if (std::strcmp(labelName, name) == 0)
      return true;
  return false;
}

// The input fields (but the town's name) and the result labels hold
// numbers.
bool ShowsNumbers(const layout::Control &row) {
  if (row.kind == layout::Kind::TextBox)
    return std::strcmp(row.name, "Town") != 0;
  return row.kind == layout::Kind::ComboBox ||
         (row.kind == layout::Kind::Label && IsResultLabel(row.name));
}

// Numbers are set glyph by glyph, without kerning: every digit then keeps
// the face's one digit width, so a value that changes each second stands
// still ("11" would otherwise close up by a pixel against "12"), and the
// text needs no shaping, which a tick would pay for in the seconds field.
// Scripts that cannot do without shaping are still shaped.
QFont NumberFont(QFont font) {
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

// A control of the layout table as a widget of its kind, with its text.
QWidget *MakeControl(const layout::Control &row, QWidget *parent) {
  const QString text = QString::fromUtf8(row.text);
  const Qt::Alignment align = layout::AlignmentOf(row.align);
  switch (row.kind) {
  case layout::Kind::Label: {
    if (IsResultLabel(row.name))
      return new ResultLabel(text, align | Qt::AlignTop, parent);
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    // Captions wrap at blanks inside their box, and stand at its top.
    label->setWordWrap(true);
    label->setAlignment(align | Qt::AlignTop);
    return label;
  }
  case layout::Kind::TextBox: {
    auto *edit = new QLineEdit(text, parent);
    edit->setAlignment(align | Qt::AlignVCenter);
    edit->setTextMargins(0, 0, 0, 0);
    return edit;
  }
  case layout::Kind::ComboBox: {
    auto *combo = new QComboBox(parent);
    combo->setStyle(ComboStyle());
    // The list offers values; any typed text is kept and checked later.
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
  }
  case layout::Kind::ListBox:
    return new HemisphereList(parent);
  case layout::Kind::OptionButton:
    return new QRadioButton(parent);
  case layout::Kind::Button:
    return new QPushButton(text, parent);
  }
  return nullptr;
}

// The text colour of an enabled control; a disabled one keeps the style's
// greyed text, so that the disabled inputs of real-time tracking look it.
void SetTextColour(QWidget *widget, QRgb colour) {
  QPalette palette = widget->palette();
  const QColor textColour(colour);
  for (const auto group : {QPalette::Active, QPalette::Inactive})
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
      palette.setColor(group, role, textColour);
  widget->setPalette(palette);
}

void Fill(QWidget *widget, QRgb colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, QColor(colour));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

} // namespace

MainWindow::MainWindow(const QString &settingsPath,
                       std::function<LocalMoment()> clock, QWidget *parent)
    : QMainWindow(parent), settingsPath_(settingsPath),
      clock_(clock ? std::move(clock) : std::function<LocalMoment()>(SystemClock())) {
  setObjectName(QStringLiteral("Ostrel"));
  setWindowTitle(QString::fromUtf8(languages::kTitle));
  setWindowIcon(QIcon(QStringLiteral(":/ostrel/ostrel.png")));

  // Result labels use the user's decimal separator, DistAU too, with its
  // eight fixed decimals and the leading zero.  The distance, near 1 AU,
  // never reaches a digit group.
  ephemeris_.SetNumberFormat(QLocale().decimalPoint().toStdString());

  BuildControls();
  BuildMenus();
  BuildTownChoice();

  // The tracking timer of the design: running, one tick a second.
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
  Timer1->start(1000);

  Form_Load();
}

MainWindow::~MainWindow() {
  // The fields outlive this object's members: they go with the base class.
  for (QObject *field : std::initializer_list<QObject *>{
           DateDay, DateMonth, DateYear, TimeHour, TimeMin, TimeSec, LongGrad, LongMin,
           LatGrad, LatMin, Timezon, Town})
    disconnect(field, nullptr, this, nullptr);
  // The About boxes have no owner window: they go with the main window.
  delete frmAbout;
  delete frmAbout_rus;
}

void MainWindow::BuildControls() {
  auto *client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setFixedSize(
      layout::PixelBox(0, 0, layout::kClientWidth, layout::kClientHeight).size());
  client->setFont(layout::FontOf(layout::Font::F5));
  Fill(client, layout::kBackground);
  setCentralWidget(client);
  // The layout is fixed: the window takes the size of its client area and
  // menu bar and cannot be resized.
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  for (const layout::Line &line : layout::Lines()) {
    auto *bar = new QWidget(client);
    bar->setObjectName(QString::fromUtf8(line.name));
    const QRect from = layout::PixelBox(line.x1, line.y1, 0, 0);
    const QRect to = layout::PixelBox(line.x2, line.y2, 0, 0);
    const int half = line.thickness / 2;
    if (line.y1 == line.y2)
      bar->setGeometry(from.x(), from.y() - half, to.x() - from.x() + 1, line.thickness);
    else
      bar->setGeometry(from.x() - half, from.y(), line.thickness, to.y() - from.y() + 1);
    Fill(bar, line.colour);
  }

  QHash<QString, QWidget *> byName;
  for (const layout::Control &row : layout::Controls()) {
    QWidget *widget = MakeControl(row, client);
    const QString name = QString::fromUtf8(row.name);
    widget->setObjectName(name);
    widget->setGeometry(layout::PixelBox(row.left, row.top, row.width, row.height));
    widget->setFont(ShowsNumbers(row) ? NumberFont(layout::FontOf(row.font))
                                      : layout::FontOf(row.font));
    SetTextColour(widget, row.colour);
    widget->setEnabled(row.enabled);
    byName.insert(name, widget);
  }
  for (const layout::ListItems &row : layout::Items()) {
    QWidget *widget = byName.value(QString::fromUtf8(row.name));
    const QStringList items = layout::ItemTexts(row);
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
      combo->addItems(items);
      combo->setCurrentIndex(-1);
      combo->setEditText(QString());
    } else if (auto *list = qobject_cast<HemisphereList *>(widget)) {
      // Nothing selected: the first item shows.
      list->SetItems(items);
    }
  }
  const auto focusOrder = layout::FocusOrder();
  for (std::size_t i = 1; i < focusOrder.size(); ++i)
    setTabOrder(byName.value(QString::fromUtf8(focusOrder[i - 1])),
                byName.value(QString::fromUtf8(focusOrder[i])));

  const auto find = [&byName](auto *&member, const char *name) {
    member = qobject_cast<std::remove_reference_t<decltype(member)>>(
        byName.value(QString::fromUtf8(name)));
    Q_ASSERT(member);
  };
  find(DateDay, "DateDay");
  find(DateMonth, "DateMonth");
  find(DateYear, "DateYear");
  find(TimeHour, "TimeHour");
  find(TimeMin, "TimeMin");
  find(TimeSec, "TimeSec");
  find(LongGrad, "LongGrad");
  find(LongMin, "LongMin");
  find(LatGrad, "LatGrad");
  find(LatMin, "LatMin");
  find(Timezon, "Timezon");
  find(List1, "List1");
  find(List2, "List2");
  find(Option1, "Option1");
  find(Option2, "Option2");
  find(Command1, "Command1");
  find(Command2, "Command2");
  find(Town, "Town");
  find(AzimSun, "AzimSun");
  // Any change of an input field's text, by the user or by any handler but
  // the tick's own writes, sends the next tick back to the fields.
  const auto touched = [this] {
    if (!tickWriting_)
      inputsTouched_ = true;
  };
  for (QLineEdit *field : {TimeHour, TimeMin, TimeSec, LongGrad, LongMin, LatGrad, LatMin, Timezon})
    connect(field, &QLineEdit::textChanged, this, touched);
  for (QComboBox *field : {DateDay, DateMonth, DateYear})
    connect(field, &QComboBox::editTextChanged, this, touched);

  for (std::size_t i = 0; i < SunReport::Labels.size(); ++i) {
    find(resultLabels_[i], SunReport::Labels[i].first);
    shownTexts_[i] = resultLabels_[i]->text().toStdString();
  }
  for (ResultLabel *label : resultLabels_) {
    // Only a label that covers no other control may paint opaquely: its
    // background would hide the strip of the control beneath (a unit sign
    // whose box it overlaps by a pixel).  The window then repaints no client
    // area beneath an opaque label when its text changes.
    label->setFixedSize(label->size());
    label->setAttribute(Qt::WA_OpaquePaintEvent, !CoversAnotherControl(*label));
  }

  Option1->setChecked(true);
  connect(Option1, &QRadioButton::toggled, this, [this](bool selected) {
    if (selected)
      Option1_Click();
  });
  connect(Option2, &QRadioButton::toggled, this, [this](bool selected) {
    if (selected)
      Option2_Click();
  });
  connect(Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &MainWindow::Command2_Click);

  // "Calculate" is the default button (Enter, while it is enabled) and
  // "Cancel" the cancel button (Esc), wherever the focus is in the window.
  Command2->setDefault(true);
  for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)})
    connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this, [this] {
      if (Command2->isEnabled())
        Command2->click();
    });
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated,
          Command1, &QPushButton::click);

  DateDay->setFocus();
}

void MainWindow::BuildMenus() {
  QHash<QString, QMenu *> menus;
  for (const layout::MenuEntry &entry : layout::Menus()) {
    const QString name = QString::fromUtf8(entry.name);
    const QString caption = QString::fromUtf8(entry.caption);
    QMenu *parentMenu = entry.parent ? menus.value(QString::fromUtf8(entry.parent)) : nullptr;
    if (entry.isMenu) {
      QMenu *menu = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
      menu->setObjectName(name);
      menus.insert(name, menu);
      continue;
    }
    QAction *item = parentMenu->addAction(caption);
    item->setObjectName(name);
    item->setCheckable(entry.checkable);
    item->setChecked(entry.checked);
  }
  const auto item = [this](const char *name) {
    auto *action = findChild<QAction *>(QString::fromUtf8(name));
    Q_ASSERT(action);
    return action;
  };
  me1_2 = item("me1_2");
  me1_3 = item("me1_3");
  me1_4 = item("me1_4");
  me1_5 = item("me1_5");
  connect(me1_2, &QAction::triggered, this, &MainWindow::me1_2_Click);
  connect(me1_3, &QAction::triggered, this, &MainWindow::me1_3_Click);
  connect(me1_4, &QAction::triggered, this, &MainWindow::me1_4_Click);
  connect(me1_5, &QAction::triggered, this, &MainWindow::me1_5_Click);
  me1_12 = item("me1_12");
  me1_13 = item("me1_13");
  me1_14 = item("me1_14");
  connect(me1_12, &QAction::triggered, this, &MainWindow::me1_12_Click);
  connect(me1_13, &QAction::triggered, this, &MainWindow::me1_13_Click);
  connect(me1_14, &QAction::triggered, this, &MainWindow::me1_14_Click);
  me1_16 = item("me1_16");
  me1_17 = item("me1_17");
  connect(me1_16, &QAction::triggered, this, &MainWindow::me1_16_Click);
  connect(me1_17, &QAction::triggered, this, &MainWindow::me1_17_Click);
  connect(item("me1_18"), &QAction::triggered, this, &MainWindow::me1_18_Click);
  connect(item("me1_6"), &QAction::triggered, this, &MainWindow::me1_6_Click);
  connect(item("me1_7"), &QAction::triggered, this, &MainWindow::me1_7_Click);
  connect(item("me1_9"), &QAction::triggered, this, &MainWindow::me1_9_Click);
  connect(item("me1_10"), &QAction::triggered, this, &MainWindow::me1_10_Click);
  connect(item("me2_1"), &QAction::triggered, this, &MainWindow::me2_1_Click);
  connect(item("me3_1"), &QAction::triggered, this, &MainWindow::me3_1_Click);
  connect(item("me3_2"), &QAction::triggered, this, &MainWindow::me3_2_Click);
  connect(item("me3_3"), &QAction::triggered, this, &MainWindow::me3_3_Click);
}

void MainWindow::SetTimerPeriod(int milliseconds) {
  if (milliseconds == 0)
    Timer1->stop();
  else
    Timer1->start(milliseconds);
}

void MainWindow::EnableTrackingInputs(bool enabled) {
  for (QWidget *input : std::initializer_list<QWidget *>{
           Command2, LongGrad, LongMin, List1, List2, LatGrad, LatMin, Timezon})
    input->setEnabled(enabled);
}

void MainWindow::ShowMessage(const QString &text) {
  // No tick may run while the user reads a message: a running timer is held
  // for as long as the box is open.
  const bool ticking = Timer1->isActive();
  Timer1->stop();
  messageOpen_ = true;
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Ostrel"), text,
                  QMessageBox::Ok, this);
  box.exec();
  messageOpen_ = false;
  if (ticking && Option1->isChecked())
    SetTimerPeriod(TimerInterval);
}

void MainWindow::Calculate() {
  lastInput_ = ephemeris_.state;
  ephemeris_.MAINCALC();
  const SunReport &report = ephemeris_.report;
  // From one second to the next most texts stay; only a label whose text
  // differs is given it, so the others are neither converted nor repainted.
  for (std::size_t i = 0; i < SunReport::Labels.size(); ++i) {
    const std::string &text = report.*SunReport::Labels[i].second;
    if (text == shownTexts_[i])
      continue;
    resultLabels_[i]->setText(QString::fromStdString(text));
    shownTexts_[i] = text;
  }
  calculated_ = true;
  if (frmDay || frmYear || frmMap)
    UpdateViews();
}

void MainWindow::Command1_Click() { EndProgram(); }

} // namespace ostrel
