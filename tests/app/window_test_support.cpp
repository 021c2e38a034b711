// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_test_support.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/hemisphere_list.h"
#include "app/result_label.h"

namespace ostrel::testing {

std::unique_ptr<MainWindow> MakeWindow(std::shared_ptr<FakeClock> clock) {
  return std::make_unique<MainWindow>(QStringLiteral("/nonexistent-ostrel-dir/ostrel.ini"),
                                      [clock] {
                                        ++clock->readings;
                                        return clock->now;
                                      });
}

QString TextOf(const QWidget &window, const char *name) {
  QObject *control = Find<QObject>(window, name);
  if (auto *label = qobject_cast<QLabel *>(control))
    return label->text();
  if (auto *label = qobject_cast<ResultLabel *>(control))
    return label->text();
  if (auto *edit = qobject_cast<QLineEdit *>(control))
    return edit->text();
  if (auto *combo = qobject_cast<QComboBox *>(control))
    return combo->currentText();
  if (auto *button = qobject_cast<QPushButton *>(control))
    return button->text();
  return {};
}

void SetTextOf(QWidget &window, const char *name, const QString &text) {
  QObject *control = Find<QObject>(window, name);
  if (auto *edit = qobject_cast<QLineEdit *>(control))
    edit->setText(text);
  else if (auto *combo = qobject_cast<QComboBox *>(control))
    combo->setEditText(text);
}

QStringList ResultTexts(const MainWindow &window) {
  QStringList texts;
  for (const auto &[name, text] : SunReport::Labels)
    texts << TextOf(window, name);
  return texts;
}

QStringList RunClosingMessages(const std::function<void()> &action) {
  QStringList texts;
  QTimer closer;
  closer.setInterval(0);
  QObject::connect(&closer, &QTimer::timeout, [&texts] {
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box)
      return;
    EXPECT_EQ(box->windowTitle(), "Ostrel");
    EXPECT_EQ(box->buttons().size(), 1);
    EXPECT_NE(box->button(QMessageBox::Ok), nullptr);
    texts << box->text();
    box->done(QMessageBox::Ok);
  });
  closer.start();
  action();
  return texts;
}

void Fill(MainWindow &window, const Input &input) {
  const std::pair<const char *, QString> fields[] = {
      {"LongGrad", input.longGrad}, {"LongMin", input.longMin}, {"LatGrad", input.latGrad},
      {"LatMin", input.latMin},     {"Timezon", input.timezon}, {"DateDay", input.day},
      {"DateMonth", input.month},   {"DateYear", input.year},   {"TimeHour", input.hour},
      {"TimeMin", input.minute},    {"TimeSec", input.second}};
  for (const auto &[name, text] : fields)
    SetTextOf(window, name, text);
  Find<HemisphereList>(window, "List1")->SetListIndex(input.list1);
  Find<HemisphereList>(window, "List2")->SetListIndex(input.list2);
}

void SelectManual(MainWindow &window) { Find<QRadioButton>(window, "Option2")->click(); }

QByteArray ReadFile(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

DayWindow *OpenDay(MainWindow &window) {
  Find<QAction>(window, "me3_1")->trigger();
  return Find<DayWindow>(window, "frmDay");
}

DayWindow *DayOf(MainWindow &window, const Input &typed) {
  SelectManual(window);
  Fill(window, typed);
  const QStringList messages = RunClosingMessages([&] { window.Command2_Click(); });
  EXPECT_TRUE(messages.isEmpty()) << messages.join(" ").toStdString();
  return OpenDay(window);
}

std::vector<Row> RowsOf(const DayWindow &day, const char *list) {
  const QAbstractItemModel *model = Find<QAbstractItemView>(day, list)->model();
  std::vector<Row> rows;
  for (int i = 0; i < model->rowCount(); ++i) {
    rows.push_back({model->index(i, 0).data(Qt::UserRole).toString().toStdString(),
                    model->index(i, 0).data().toString().toStdString(),
                    model->index(i, 1).data().toString().toStdString()});
  }
  return rows;
}

Row RowOf(const DayWindow &day, const std::string &key, const char *list) {
  for (const Row &row : RowsOf(day, list))
    if (row.key == key) return row;
  ADD_FAILURE() << "no row " << key << " in " << list;
  return {};
}

void ExpectOnlyOldFileLeft(const QString &folder, const char *oldFile, const QByteArray &old,
                           const char *what) {
  const QStringList left = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
  if (oldFile) {
    EXPECT_EQ(ReadFile(QDir(folder).filePath(QString::fromUtf8(oldFile))).toStdString(),
              old.toStdString())
        << what;
    EXPECT_EQ(left.join(" ").toStdString(), oldFile) << what;
  } else {
    EXPECT_TRUE(left.isEmpty()) << what << ": " << left.join(" ").toStdString();
  }
}

} // namespace ostrel::testing
