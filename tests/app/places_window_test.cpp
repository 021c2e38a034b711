// SPDX-License-Identifier: GPL-3.0-or-later
// Towns by name in the window: the list offered as the town is typed, the
// site and zone a chosen town fills, the zone followed through the changes
// of the clocks, the settings line, the link found again at start, the
// computer's time zone, and the credit of the list in the About boxes.
//
// Coordinates are GeoNames' (the list's, in degrees) turned into minutes by
// hand; offsets are those of the zones' published rules (tzdata).

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <ctime>

#include "app/about_box.h"
#include "app/hemisphere_list.h"
#include "app/zone_offset.h"
#include "tools/caption_fit.h"
#include "window_test_support.h"

namespace ostrel::testing {
namespace {

QLineEdit *TownField(const MainWindow &window) { return Find<QLineEdit>(window, "Town"); }

// Types over a field's text, a key for each character, accented ones too.
void TypeOver(QLineEdit *field, const QString &text) {
  field->selectAll();
  if (text.isEmpty())
    QTest::keyClick(field, Qt::Key_Backspace);
  for (const QChar c : text)
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// A digit typed at the end of a field and taken back, as a user may do: the
// text is what it was.  A list that opens is closed again.
void TypeAndTakeBack(QLineEdit *field) {
  field->end(false);
  QTest::keyClick(field, Qt::Key_0);
  QTest::keyClick(field, Qt::Key_Backspace);
  if (field->completer())
    field->completer()->popup()->hide();
}

// The texts of the list offered after typing `typed` over the town.
QStringList Offered(MainWindow &window, const QString &typed) {
  QLineEdit *town = TownField(window);
  TypeOver(town, typed);
  QStringList rows;
  QAbstractItemView *popup = town->completer()->popup();
  if (popup->isVisible())
    for (int row = 0; row < popup->model()->rowCount(); ++row)
      rows << popup->model()->index(row, 0).data().toString();
  popup->hide();
  return rows;
}

// Types `typed` over the town and picks the row `shown` with the keyboard;
// the messages shown meanwhile.
QStringList Pick(MainWindow &window, const QString &typed, const QString &shown) {
  QLineEdit *town = TownField(window);
  TypeOver(town, typed);
  QAbstractItemView *popup = town->completer()->popup();
  const QModelIndexList rows = popup->model()->match(popup->model()->index(0, 0),
                                                      Qt::DisplayRole, shown, 1, Qt::MatchExactly);
  if (!popup->isVisible() || rows.isEmpty()) {
    ADD_FAILURE() << shown.toStdString() << " not offered for " << typed.toStdString();
    return {};
  }
  popup->setCurrentIndex(rows[0]);
  return RunClosingMessages([&] { QTest::keyClick(popup, Qt::Key_Return); });
}

TEST(Towns, OfferedAsTypedMostPopulousFirst) {
  const std::pair<const char *, QStringList> rows[] = {
      {"zurich", {"Zürich, CH"}},
      {"SAO PAULO", {"São Paulo, BR"}},
      {"gyor", {"Győr, HU"}},
      {"Győr", {"Győr, HU"}},
      {"sydney", {"Sydney, AU", "Sydney, CA"}}, // namesakes in two countries
      {"springfield",
       {"Springfield, Missouri, US", "Springfield, Massachusetts, US", "Springfield, Illinois, US"}},
      {"moscow, us", {"Moscow, US"}},
      {"qxzqx", {}}};
  const auto window = MakeWindow();
  for (const auto &[typed, first] : rows)
    EXPECT_EQ(Offered(*window, QString::fromUtf8(typed)).mid(0, first.size()), first) << typed;
  EXPECT_TRUE(Offered(*window, "").isEmpty());
}

// In the window Enter is "Calculate" and Esc "Cancel"; in the open list
// Enter chooses a town, calculated once with the usual checks, and Esc
// closes the list only.
TEST(Towns, TheOpenListTakesEnterAndEsc) {
  const auto window = MakeWindow();
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  SelectManual(*window);
  Fill(*window, {.hour = "24"});
  TownField(*window)->setFocus();
  EXPECT_EQ(Pick(*window, "tokyo", "Tokyo, JP"), QStringList{"Uncorrect input Hours!"});
  EXPECT_EQ(TextOf(*window, "LongGrad"), "139");
  TypeOver(TownField(*window), "ber");
  QAbstractItemView *popup = TownField(*window)->completer()->popup();
  ASSERT_TRUE(popup->isVisible());
  QTest::keyClick(popup, Qt::Key_Escape);
  EXPECT_FALSE(popup->isVisible());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(TextOf(*window, "Town"), "ber");
}

struct PickCase {
  const char *typed, *shown;
  Input moment; // the date and time typed in manual mode
  const char *town, *longGrad, *longMin;
  int west;
  const char *latGrad, *latMin;
  int south;
  const char *timezon;
};

TEST(Towns, ChoosingFillsTheSiteAndTheZoneOfTheDate) {
  const Input january{.day = "15", .month = "1", .year = "2026"};
  const Input july{.day = "15", .month = "7", .year = "2026"};
  const PickCase rows[] = {
      // Berlin 52.52437 N 13.41053 E; summer time north of the equator.
      {"berlin", "Berlin, DE", july, "Berlin", "13", "24.63", 0, "52", "31.46", 0, "2"},
      {"Berlin", "Berlin, DE", january, "Berlin", "13", "24.63", 0, "52", "31.46", 0, "1"},
      // Sydney 33.86785 S 151.20732 E; summer time in January.
      {"sydney", "Sydney, AU", january, "Sydney", "151", "12.44", 0, "33", "52.07", 1, "11"},
      {"sydney", "Sydney, AU", july, "Sydney", "151", "12.44", 0, "33", "52.07", 1, "10"},
      // Zones without summer time, half and quarter hours.
      {"tokyo", "Tokyo, JP", july, "Tokyo", "139", "41.5", 0, "35", "41.37", 0, "9"},
      {"kolkata", "Kolkata, IN", january, "Kolkata", "88", "21.78", 0, "22", "33.76", 0, "5.5"},
      {"kathmandu", "Kathmandu, NP", july, "Kathmandu", "85", "19.24", 0, "27", "42.1", 0, "5.75"},
      // New Zealand's summer is +13: refused as beyond +12 before.
      {"auckland", "Auckland, NZ", january, "Auckland", "174", "45.81", 0, "36", "50.91", 1, "13"},
      {"nuku", "Nuku‘alofa, TO", july, "Nuku‘alofa", "175", "12.07", 1, "21", "8.21", 1, "13"},
      // One country, two zones; west longitudes.
      {"chicago", "Chicago, US", january, "Chicago", "87", "39", 1, "41", "51", 0, "-6"},
      {"new york", "New York City, US", january, "New York City", "74", "0.36", 1, "40", "42.86",
       0, "-5"},
      // Accents dropped where Windows-1251 has no such letter.
      {"sao paulo", "São Paulo, BR", july, "Sao Paulo", "46", "38.17", 1, "23", "32.85", 1, "-3"},
      {"GYOR", "Győr, HU", july, "Gyor", "17", "38.11", 0, "47", "41", 0, "2"},
      // The date decides on the day the clocks go forward: 30 March 2025 in
      // Berlin, 02:00 CET becomes 03:00 CEST.
      {"berlin", "Berlin, DE", {.day = "30", .month = "3", .year = "2025", .hour = "1",
       .minute = "59", .second = "59"}, "Berlin", "13", "24.63", 0, "52", "31.46", 0, "1"},
      {"berlin", "Berlin, DE", {.day = "30", .month = "3", .year = "2025", .hour = "3"}, "Berlin",
       "13", "24.63", 0, "52", "31.46", 0, "2"},
  };
  for (const PickCase &c : rows) {
    SCOPED_TRACE(std::string(c.shown) + " " + c.moment.month.toStdString());
    const auto window = MakeWindow();
    SelectManual(*window);
    Fill(*window, c.moment);
    EXPECT_TRUE(Pick(*window, QString::fromUtf8(c.typed), QString::fromUtf8(c.shown)).isEmpty());
    const QStringList fields{TextOf(*window, "Town"),    TextOf(*window, "LongGrad"),
                             TextOf(*window, "LongMin"), TextOf(*window, "LatGrad"),
                             TextOf(*window, "LatMin"),  TextOf(*window, "Timezon")};
    EXPECT_EQ(fields, QStringList({QString::fromUtf8(c.town), c.longGrad, c.longMin, c.latGrad,
                                   c.latMin, c.timezon}));
    EXPECT_EQ(Find<HemisphereList>(*window, "List1")->TopIndex(), c.west);
    EXPECT_EQ(Find<HemisphereList>(*window, "List2")->TopIndex(), c.south);
    // Calculated as "Calculate" does.
    EXPECT_EQ(window->lastInput().Timezon, QString(c.timezon).toFloat());
    EXPECT_EQ(window->lastInput().LatRad < 0, c.south == 1);
  }
}

// The rule for a local time the clocks pass twice or skip: the first
// (summer) offset, and the offset before the change.  Samoa skipped the
// whole of 30 December 2011, from -10 to +14 hours.
TEST(ZoneOffset, RepeatedAndSkippedLocalTimes) {
  const std::tuple<const char *, QDate, QTime, int> rows[] = {
      {"Europe/Berlin", {2025, 3, 30}, {1, 59, 59}, 3600},
      {"Europe/Berlin", {2025, 3, 30}, {2, 30}, 3600},
      {"Europe/Berlin", {2025, 3, 30}, {3, 0}, 7200},
      {"Europe/Berlin", {2025, 10, 26}, {2, 30}, 7200},
      {"Europe/Berlin", {2025, 10, 26}, {3, 0}, 3600},
      {"Australia/Sydney", {2025, 4, 6}, {2, 30}, 39600},
      {"Australia/Sydney", {2025, 10, 5}, {2, 30}, 36000},
      {"Pacific/Chatham", {2026, 1, 15}, {12, 0}, 49500},
      {"Pacific/Kiritimati", {2026, 1, 15}, {12, 0}, 50400},
      {"Pacific/Apia", {2011, 12, 30}, {12, 0}, -36000},
      {"Pacific/Apia", {2011, 12, 31}, {0, 0}, 50400},
      {"No/Such_Zone", {2026, 1, 15}, {12, 0}, 0}};
  for (const auto &[zone, date, time, seconds] : rows)
    EXPECT_EQ(ZoneOffsetSeconds(QTimeZone(zone), date, time), seconds)
        << zone << " " << date.toString(Qt::ISODate).toStdString() << " "
        << time.toString().toStdString();
}

// Real-time tracking with a chosen town: the tick that reads the clock
// after the change takes the new offset, unless the town has been typed.
TEST(Towns, TrackingFollowsTheZoneAtNight) {
  using Steps = std::vector<std::pair<QDateTime, QString>>;
  const std::tuple<const char *, const char *, bool, Steps> rows[] = {
      {"berlin", "Berlin, DE", false,
       {{{{2025, 3, 30}, {1, 59, 58}}, "1"}, {{{2025, 3, 30}, {1, 59, 59}}, "1"},
        {{{2025, 3, 30}, {3, 0}}, "2"}}},
      {"berlin", "Berlin, DE", false,
       {{{{2025, 10, 26}, {1, 59, 59}}, "2"}, {{{2025, 10, 26}, {3, 0}}, "1"}}},
      {"sydney", "Sydney, AU", false,
       {{{{2025, 4, 6}, {1, 59, 59}}, "11"}, {{{2025, 4, 6}, {3, 0}}, "10"}}},
      {"berlin", "Berlin, DE", true, // the town typed after the choice
       {{{{2025, 3, 30}, {1, 59, 59}}, "1"}, {{{2025, 3, 30}, {3, 0}}, "1"}}},
  };
  for (const auto &[typed, shown, retype, steps] : rows) {
    SCOPED_TRACE(std::string(shown) + (retype ? ", retyped" : ""));
    auto clock = std::make_shared<FakeClock>();
    clock->now = steps[0].first;
    const auto window = MakeWindow(clock);
    EXPECT_TRUE(Pick(*window, typed, QString::fromUtf8(shown)).isEmpty()); // ticks at once
    if (retype)
      TypeAndTakeBack(TownField(*window));
    for (const auto &[now, timezon] : steps) {
      clock->now = now;
      window->Timer1_Timer();
      EXPECT_EQ(TextOf(*window, "Timezon"), timezon) << now.toString().toStdString();
      EXPECT_EQ(window->lastInput().Timezon, timezon.toFloat());
      EXPECT_NEAR(window->lastInput().UtHours,
                  now.time().msecsSinceStartOfDay() / 3.6e6 - timezon.toDouble(), 1e-6);
    }
  }
}

// Typing in any site field (its text put back as it was) or scrolling a
// hemisphere list lets go of the zone: the next date keeps the offset.
TEST(Towns, TypingASiteFieldLetsGoOfTheZone) {
  const std::pair<const char *, const char *> rows[] = {
      {"", "2"},        {"Town", "1"},   {"LongGrad", "1"}, {"LongMin", "1"}, {"LatGrad", "1"},
      {"LatMin", "1"}, {"Timezon", "1"}, {"List1", "1"},    {"List2", "1"}};
  for (const auto &[field, julyOffset] : rows) {
    SCOPED_TRACE(field);
    const auto window = MakeWindow();
    SelectManual(*window);
    Fill(*window, {.day = "15", .month = "1", .year = "2026"});
    ASSERT_TRUE(Pick(*window, "berlin", "Berlin, DE").isEmpty());
    if (QString(field).startsWith("List"))
      Find<HemisphereList>(*window, field)->SetListIndex(1);
    else if (*field)
      TypeAndTakeBack(Find<QLineEdit>(*window, field));
    SetTextOf(*window, "DateMonth", "7");
    ASSERT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
    EXPECT_EQ(TextOf(*window, "Timezon"), julyOffset);
  }
}

// "Save settings" writes the line it always has; a town from the list is
// always one that the file's code page holds.
TEST(Towns, TheSettingsLineIsTheSameAsEver) {
  const std::pair<const char *, QByteArray> rows[] = {
      {nullptr, "Kishinev, 28  50  0  47  0  0  3  1000   0 Azimuth\r\n"},
      {"Berlin, DE", "Berlin, 13  24.63  0  52  31.46  0  1  1000   0 Azimuth\r\n"},
      {"Győr, HU", "Gyor, 17  38.11  0  47  41  0  1  1000   0 Azimuth\r\n"},
      {"São Paulo, BR", "Sao Paulo, 46  38.17  1  23  32.85  1 -3  1000   0 Azimuth\r\n"},
      {"Nuku‘alofa, TO", "Nuku\x91" "alofa, 175  12.07  1  21  8.21  1  13  1000   0 Azimuth\r\n"}};
  for (const auto &[shown, line] : rows) {
    QTemporaryDir folder;
    const QString path = folder.filePath("ostrel.ini");
    MainWindow window(path, [] { return QDateTime(QDate(2026, 1, 15), QTime(12, 0)); });
    if (shown) {
      const QString town = QString::fromUtf8(shown);
      ASSERT_TRUE(Pick(window, town.left(3), town).isEmpty());
    }
    EXPECT_TRUE(RunClosingMessages([&] { window.me1_7_Click(); }).isEmpty());
    EXPECT_EQ(ReadFile(path), line);
  }
}

// At start a saved town of the list, by its folded name and the minutes
// the fields show, follows its zone again; any other line loads as ever.
TEST(Towns, ASavedTownOfTheListTakesItsZoneBackAtStart) {
  const QDateTime berlinBefore({2025, 3, 30}, {1, 59, 59}), berlinAfter({2025, 3, 30}, {3, 0});
  const QDateTime chicagoBefore({2025, 3, 9}, {1, 59, 59}), chicagoAfter({2025, 3, 9}, {3, 0});
  const std::tuple<const char *, QDateTime, QDateTime, const char *, const char *> rows[] = {
      {"Berlin, 13  24.63  0  52  31.46  0  1  1000   0 Azimuth", berlinBefore, berlinAfter, "1", "2"},
      {"BERLIN, 13  24.63  0  52  31.46  0  1  1000   0 Azimuth", berlinBefore, berlinAfter, "1", "2"},
      {"Gyor, 17  38.11  0  47  41  0  1  1000   0 Azimuth", berlinBefore, berlinAfter, "1", "2"},
      // Springfield, Illinois (39.80172 N 89.64371 W) among its namesakes.
      {"Springfield, 89  38.62  1  39  48.1  0 -6  1000   0 Azimuth", chicagoBefore, chicagoAfter,
       "-6", "-5"},
      {"Berlin, 13  24.64  0  52  31.46  0  1  1000   0 Azimuth", berlinBefore, berlinAfter, "1", "1"},
      {"Berlin, 13  24.63  1  52  31.46  0  1  1000   0 Azimuth", berlinBefore, berlinAfter, "1", "1"},
      {"Berlin, 13  24.63  0  52  31.46  0  1  1000   0", berlinBefore, berlinAfter, "3", "3"},
      {"Kishinev, 28  50  0  47  0  0  3  1000   0 Azimuth", berlinBefore, berlinAfter, "3", "3"}};
  for (const auto &[line, before, after, first, second] : rows) {
    SCOPED_TRACE(line);
    QTemporaryDir folder;
    const QString path = folder.filePath("ostrel.ini");
    WriteFile(path, QByteArray(line) + "\r\n");
    auto clock = std::make_shared<FakeClock>();
    clock->now = before;
    MainWindow window(path, [clock] { return clock->now; });
    window.Timer1_Timer();
    EXPECT_EQ(TextOf(window, "Timezon"), first);
    clock->now = after;
    window.Timer1_Timer();
    EXPECT_EQ(TextOf(window, "Timezon"), second);
  }
}

// The TZ variable of this process, set back when the test ends however it
// ends.
class ZoneOfThisProcess {
public:
  ~ZoneOfThisProcess() {
    saved_.isNull() ? qunsetenv("TZ") : qputenv("TZ", saved_);
    tzset();
  }
  void Set(const char *zone) {
    qputenv("TZ", zone);
    tzset();
  }

private:
  QByteArray saved_ = qgetenv("TZ");
};

// The computer's offset at the date typed, whatever town was chosen, and
// nothing calculated.
TEST(Towns, TimeZoneOfThisComputer) {
  const std::tuple<const char *, const char *, const char *> rows[] = {
      // zone, month, offset
      {"Europe/Berlin", "1", "1"},       {"Europe/Berlin", "7", "2"},
      {"Asia/Kathmandu", "1", "5.75"},   {"America/St_Johns", "1", "-3.5"},
      {"Australia/Sydney", "1", "11"},   {"Pacific/Kiritimati", "7", "14"}};
  ZoneOfThisProcess computer;
  for (const auto &[zone, month, offset] : rows) {
    SCOPED_TRACE(zone);
    const auto window = MakeWindow();
    SelectManual(*window);
    Fill(*window, {.day = "15", .month = month, .year = "2026"});
    ASSERT_TRUE(Pick(*window, "tokyo", "Tokyo, JP").isEmpty());
    const QStringList results = ResultTexts(*window);
    computer.Set(zone);
    Find<QAction>(*window, "me1_18")->trigger();
    EXPECT_EQ(TextOf(*window, "Timezon"), offset);
    EXPECT_EQ(ResultTexts(*window), results);
    // Tokyo lets go of its zone: the next calculation keeps the offset.
    ASSERT_TRUE(RunClosingMessages([&] { window->Command2_Click(); }).isEmpty());
    EXPECT_EQ(window->lastInput().Timezon, QString(offset).toFloat());
  }
}

TEST(About, CreditsTheTownListAndEveryTextFits) {
  const std::pair<AboutBox::Language, const char *> rows[] = {
      {AboutBox::Language::English, "Town list: GeoNames (geonames.org), CC BY 4.0"},
      {AboutBox::Language::Russian, "Список городов: GeoNames (geonames.org), CC BY 4.0"}};
  for (const auto &[language, credit] : rows) {
    AboutBox box(language);
    EXPECT_EQ(Find<QLabel>(box, "Label6")->text(), QString::fromUtf8(credit));
    for (const tools::Misfit &misfit : tools::FindMisfits(box))
      ADD_FAILURE() << tools::Describe(misfit).toStdString();
    const QWidget *label = Find(box, "Label6");
    EXPECT_TRUE(box.rect().contains(label->geometry()));
    for (const QWidget *control : box.findChildren<QWidget *>())
      EXPECT_TRUE(control == label || !control->geometry().intersects(label->geometry()))
          << control->objectName().toStdString();
  }
}

} // namespace
} // namespace ostrel::testing
