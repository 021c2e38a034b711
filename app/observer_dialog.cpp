// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/observer_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <iterator>

#include "app/bilingual.h"
#include "core/text/numtext.h"

namespace ostrel {
namespace {

// The largest skyline file read, bytes, as ostrel-cli's --horizon: a point
// every 0.01 degree is some 50,000 lines.
constexpr qint64 kLargestHorizonFile = qint64{4} << 20;

constexpr Bilingual kTitle{"Observer", "Наблюдатель"};
constexpr Bilingual kOn{"Sunrise and sunset for this observer",
                        "Восход и заход для этого наблюдателя"};
constexpr Bilingual kHorizonCaption{"Horizon file:", "Файл горизонта:"};
constexpr Bilingual kOpen{"Open...", "Открыть..."};
constexpr Bilingual kClear{"Clear", "Очистить"};
constexpr Bilingual kNoHorizon{"none", "нет"};
constexpr Bilingual kOpenTitle{"Open a horizon file", "Открыть файл горизонта"};
constexpr Bilingual kOpenFilter{"Horizon files (*.txt *.csv *.hor);;All files (*)",
                                "Файлы горизонта (*.txt *.csv *.hor);;Все файлы (*)"};
// %1 is the pressure of the standard atmosphere at the ground below the eye.
constexpr Bilingual kStandardPressure{"standard atmosphere: %1", "стандартная атмосфера: %1"};
// %1 is the file's name, %2 why (the core's words, with the line).
constexpr Bilingual kHorizonRefused{"The horizon file \"%1\" cannot be read: %2.",
                                    "Файл горизонта «%1» не прочитан: %2."};
constexpr Bilingual kLine{"line %1: %2", "строка %1: %2"};
constexpr Bilingual kTooLarge{"it is larger than 4 MB: not a horizon",
                              "он больше 4 МБ: это не горизонт"};
// %1 is the core's reason, or a field's caption and its text.
constexpr Bilingual kRefused{"The observer's values are not accepted: %1.",
                             "Значения наблюдателя не приняты: %1."};
constexpr Bilingual kNotANumber{"%1: \"%2\" is not a number", "%1: «%2» — не число"};

// The number fields, in the dialog's order; the pressure may be left empty
// for the standard atmosphere's.
struct NumberField {
  const char *name;
  Bilingual caption;
};
constexpr NumberField kFields[] = {
    {"ObserverElevation", {"Height above sea level, m", "Высота над уровнем моря, м"}},
    {"ObserverEye", {"Eye above the ground of the horizon, m", "Глаз над землёй горизонта, м"}},
    {"ObserverPressure", {"Pressure, hPa", "Давление, гПа"}},
    {"ObserverTemperature", {"Temperature, °C", "Температура, °C"}},
};

QString CaptionOf(const QLineEdit &field, bool russian) {
  for (const NumberField &row : kFields)
    if (field.objectName() == QLatin1String(row.name))
      return row.caption.In(russian);
  return {};
}

QString Text(double value) { return QString::fromStdString(NumText(value)); }

// A field's number, "," taken as the decimal separator too; none for text
// that is not one number.
std::optional<double> NumberIn(const QLineEdit &field) {
  QString text = field.text().trimmed();
  text.replace(u',', u'.');
  bool ok = false;
  const double value = text.toDouble(&ok);
  return ok ? std::optional(value) : std::nullopt;
}

} // namespace

ObserverDialog::ObserverDialog(const ObserverChoice &choice, bool russian, QWidget *parent)
    : QDialog(parent), choice_(choice), russian_(russian) {
  setObjectName(QStringLiteral("ObserverDialog"));
  setWindowTitle(kTitle.In(russian));

  on_ = new QCheckBox(kOn.In(russian), this);
  on_->setObjectName(QStringLiteral("ObserverOn"));
  on_->setChecked(choice.on);

  QLineEdit **const edits[] = {&elevation_, &eye_, &pressure_, &temperature_};
  static_assert(std::size(edits) == std::size(kFields));
  auto *form = new QFormLayout;
  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(kFields[i].name));
    form->addRow(kFields[i].caption.In(russian) + u':', edit);
    *edits[i] = edit;
  }
  const Observer &o = choice.observer;
  elevation_->setText(Text(o.elevationM));
  eye_->setText(Text(o.eyeM));
  if (o.pressureHpa)
    pressure_->setText(Text(*o.pressureHpa));
  temperature_->setText(Text(o.temperatureC));
  for (QLineEdit *edit : {elevation_, eye_})
    connect(edit, &QLineEdit::textChanged, this, &ObserverDialog::ShowStandardPressure);

  horizon_ = new QLabel(this);
  horizon_->setObjectName(QStringLiteral("ObserverHorizonFile"));
  auto *open = new QPushButton(kOpen.In(russian), this);
  open->setObjectName(QStringLiteral("ObserverHorizonOpen"));
  connect(open, &QPushButton::clicked, this, &ObserverDialog::AskHorizon);
  auto *clear = new QPushButton(kClear.In(russian), this);
  clear->setObjectName(QStringLiteral("ObserverHorizonClear"));
  connect(clear, &QPushButton::clicked, this, &ObserverDialog::clearHorizon);
  auto *horizonRow = new QHBoxLayout;
  horizonRow->addWidget(horizon_, 1);
  horizonRow->addWidget(open);
  horizonRow->addWidget(clear);
  form->addRow(kHorizonCaption.In(russian), horizonRow);

  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &ObserverDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ObserverDialog::reject);
  connect(on_, &QCheckBox::toggled, this, &ObserverDialog::EnableFields);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(on_);
  layout->addLayout(form);
  layout->addWidget(buttons);
  ShowHorizon();
  ShowStandardPressure();
  EnableFields();
}

void ObserverDialog::EnableFields() {
  for (QWidget *child : findChildren<QWidget *>()) {
    if (child != on_ && child->objectName().startsWith(QLatin1String("Observer")))
      child->setEnabled(on_->isChecked());
  }
}

void ObserverDialog::ShowHorizon() {
  horizon_->setText(choice_.horizonFile.isEmpty() ? kNoHorizon.In(russian_)
                                                  : QFileInfo(choice_.horizonFile).fileName());
  horizon_->setToolTip(QDir::toNativeSeparators(choice_.horizonFile));
}

// The hint follows the heights typed, while they are numbers.
void ObserverDialog::ShowStandardPressure() {
  Observer o;
  o.elevationM = NumberIn(*elevation_).value_or(0);
  o.eyeM = NumberIn(*eye_).value_or(0);
  const double standard = PressureInUse(o);
  pressure_->setPlaceholderText(
      kStandardPressure.In(russian_).arg(std::isfinite(standard) ? Text(std::round(standard))
                                                                 : QString()));
}

void ObserverDialog::AskHorizon() {
  const QString path = QFileDialog::getOpenFileName(this, kOpenTitle.In(russian_),
                                                    QFileInfo(choice_.horizonFile).absolutePath(),
                                                    kOpenFilter.In(russian_));
  if (!path.isEmpty())
    openHorizon(path);
}

bool ObserverDialog::openHorizon(const QString &path) {
  const auto refuse = [&](const QString &why) {
    ShowMessage(kHorizonRefused.In(russian_).arg(QFileInfo(path).fileName(), why));
    return false;
  };
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return refuse(file.errorString());
  const QByteArray bytes = file.read(kLargestHorizonFile + 1);
  if (bytes.size() > kLargestHorizonFile)
    return refuse(kTooLarge.In(russian_));
  if (file.error() != QFileDevice::NoError)
    return refuse(file.errorString());
  const HorizonParse parse = ParseHorizonProfile(bytes.toStdString());
  if (!parse.profile) {
    const QString error = QString::fromStdString(parse.error);
    return refuse(parse.line > 0 ? kLine.In(russian_).arg(parse.line).arg(error) : error);
  }
  choice_.horizonFile = QFileInfo(path).absoluteFilePath();
  choice_.profile = *parse.profile;
  ShowHorizon();
  return true;
}

void ObserverDialog::clearHorizon() {
  choice_.horizonFile.clear();
  choice_.profile = HorizonProfile();
  ShowHorizon();
}

// Off, the values are not checked: the last accepted ones are kept for
// the next time the observer is turned on.
void ObserverDialog::accept() {
  ObserverChoice chosen = choice_;
  chosen.on = on_->isChecked();
  if (chosen.on) {
    const std::pair<QLineEdit *, double *> numbers[] = {
        {elevation_, &chosen.observer.elevationM},
        {eye_, &chosen.observer.eyeM},
        {temperature_, &chosen.observer.temperatureC}};
    for (const auto &[field, value] : numbers) {
      const std::optional<double> number = NumberIn(*field);
      if (!number) {
        ShowMessage(kRefused.In(russian_).arg(
            kNotANumber.In(russian_).arg(CaptionOf(*field, russian_), field->text())));
        return;
      }
      *value = *number;
    }
    chosen.observer.pressureHpa.reset();
    if (!pressure_->text().trimmed().isEmpty()) {
      chosen.observer.pressureHpa = NumberIn(*pressure_);
      if (!chosen.observer.pressureHpa) {
        ShowMessage(kRefused.In(russian_).arg(
            kNotANumber.In(russian_).arg(CaptionOf(*pressure_, russian_), pressure_->text())));
        return;
      }
    }
    if (const std::optional<std::string> problem = ObserverProblem(chosen.observer)) {
      ShowMessage(kRefused.In(russian_).arg(QString::fromStdString(*problem)));
      return;
    }
  }
  choice_ = chosen;
  QDialog::accept();
}

void ObserverDialog::ShowMessage(const QString &text) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Ostrel"), text, QMessageBox::Ok, this);
  box.exec();
}

} // namespace ostrel
