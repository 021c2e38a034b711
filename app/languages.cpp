// SPDX-License-Identifier: GPL-3.0-or-later
// The two interface languages: the caption table and the switch of the main
// window between its columns.

#include "app/languages.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "app/hemisphere_list.h"
#include "app/day_window.h"
#include "app/main_window.h"
#include "app/map_window.h"
#include "app/year_window.h"

namespace ostrel::languages {
namespace {

constexpr Caption kHeadings[] = {
    {"Label32", {"OSTREL", "Острел"}},
    {"Date", {"Date", "Дата"}},
    {"DayYear", {"Day of Year", "День года"}},
    {"LocalTime", {"Local Time", "Местное время"}},
    {"SidTime", {"Sidereal Time", "Звездное время"}},
    {"LocSet", {"Location:", "Место"}},
    {"Longitude", {"Longitude", "Долгота"}},
    {"Latitude", {"Latitude", "Широта"}},
    {"TimZon", {"Timezone", "Часовой пояс"}},
};

// Item 0 and item 1 of each list, as "control" rows of their own.
constexpr Caption kHemisphereItems[] = {
    {"List1", {"East", "Вост."}},
    {"List1", {"West", "Зап."}},
    {"List2", {"North", "Сев."}},
    {"List2", {"South", "Южн."}},
};

constexpr Caption kCaptions[] = {
    {"CoordSun", {"Coordinates of Sun", "Координаты Солнца"}},
    {"RASun", {"Right Ascension", "Пр. восх."}},
    {"Longit", {"Longitude", "Долгота"}},
    {"DeclSun", {"Declination", "Склонение"}},
    {"AltSun", {"Altitude", "Высота"}},
    {"ZenAng", {"Zenith angle", "Зенитный угол"}},
    {"AzimSun", {"Azimuth", "Азимут"}},
    {"Tru", {"True", "Ист."}},
    {"App", {"App.", "Вид."}},
    {"Label31", {"Max.True", "Макс.ист."}},
    {"Airm", {"Airmass", "Воздушная масса"}},
    {"Distance", {"Distance from Earth", "Расстояние от Земли"}},
    {"DiamSun", {"Sun's angular diameter", "Угловой диаметр"}},
    {"CulmSun", {"Upper culmination time", "Верхняя кульминация"}},
    {"EquTime", {"Equation of time in local noon", "Уравнение времени в полдень"}},
    {"Sunrise", {"Sunrise", "Восход"}},
    {"Sunset", {"Sunset", "Заход"}},
    {"RAzim", {"Azimuth", "Азимут"}},
    {"SAzim", {"Azimuth", "Азимут"}},
    {"Label35", {"Duration of day", "Долгота дня"}},
    {"Label30", {"Choice of a mode", "Выбор режима"}},
    {"Label28", {"Real time tracking", "Автомат"}},
    {"Label29", {"Manual", "Ручной"}},
    {"Command2", {"Calculate", "Вычислить"}},
    {"Command1", {"Cancel", "Конец"}},
    {"AU", {"AU", "а. е."}},
    {"me1", {"&Settings", "&Настройки"}},
    {"me1_1", {"&Timer interval", "&Интервал обновления"}},
    {"me1_2", {"&1 sec", "&1 сек"}},
    {"me1_3", {"&3 sec", "&3 сек"}},
    {"me1_4", {"&5 sec", "&5 сек"}},
    {"me1_5", {"&10 sec", "&10 сек"}},
    {"me1_8", {"&Language", "&Язык"}},
    {"me1_9", {"&English", "&Английский"}},
    {"me1_10", {"&Russian", "&Русский"}},
    {"me1_7", {"&Save settings", "&Сохранить настройки"}},
    {"me1_6", {"&Exit", "&Выход"}},
    {"me1_11", {"&Azimuth", "&Азимут"}},
    {"me1_12", {"&From North(0-360)", "&От севера(0-360)"}},
    {"me1_13", {"&From South(0-360)", "&От юга(0-360)"}},
    {"me1_14", {"&From South(-180+180)", "&От юга(-180+180)"}},
    {"me1_15", {"Theory", "Теория"}},
    {"me1_16", {"Classic (1980 epoch)", "Классическая (эпоха 1980)"}},
    {"me1_17", {"Precise", "Точная"}},
    {"me1_18", {"Time zone of this computer", "Часовой пояс компьютера"}},
    {"me3", {"View", "Вид"}},
    {"me3_1", {"Sun's day...", "День Солнца..."}},
    {"me3_2", {"Year table...", "Таблица года..."}},
    {"me3_3", {"World map...", "Карта мира..."}},
    {"me2", {"&Help", "&Помощь"}},
    {"me2_1", {"About program", "&О программе"}},
};

} // namespace

std::span<const Caption> Headings() { return kHeadings; }
std::span<const Caption> HemisphereItems() { return kHemisphereItems; }
std::span<const Caption> Captions() { return kCaptions; }

void SetCaption(QWidget &window, const Caption &row, bool russian) {
  const QString name = QString::fromLatin1(row.control);
  const QString text = row.text.In(russian);
  if (name == window.objectName())
    window.setWindowTitle(text);
  else if (auto *label = window.findChild<QLabel *>(name))
    label->setText(text);
  else if (auto *button = window.findChild<QPushButton *>(name))
    button->setText(text);
  else if (auto *menu = window.findChild<QMenu *>(name))
    menu->setTitle(text);
  else if (auto *item = window.findChild<QAction *>(name))
    item->setText(text);
}

} // namespace ostrel::languages

namespace ostrel {

// The captions in the table's order: the headings, the hemisphere lists
// (keeping the hemisphere in view), then the labels, buttons and menus.
// Only captions change: no value, result, mode or mark.
void MainWindow::SwitchLanguage(bool russian) {
  for (const languages::Caption &row : languages::Headings())
    languages::SetCaption(*this, row, russian);

  const int westIndex = List1->TopIndex();
  const int southIndex = List2->TopIndex();
  const auto items = languages::HemisphereItems();
  List1->SetItems({items[0].text.In(russian), items[1].text.In(russian)});
  List1->SetListIndex(westIndex);
  List2->SetItems({items[2].text.In(russian), items[3].text.In(russian)});
  List2->SetListIndex(southIndex);

  for (const languages::Caption &row : languages::Captions())
    languages::SetCaption(*this, row, russian);
  ShowTitle(russian);
  if (frmDay)
    frmDay->SetRussian(russian);
  if (frmYear)
    frmYear->SetRussian(russian);
  if (frmMap)
    frmMap->SetRussian(russian);
}

void MainWindow::me1_9_Click() { SwitchLanguage(false); }
void MainWindow::me1_10_Click() { ApplyRussian(); }
void MainWindow::ApplyRussian() { SwitchLanguage(true); }

} // namespace ostrel
