// SPDX-License-Identifier: GPL-3.0-or-later
// The world map window: day at the subsolar point and night at its
// antipode, the shades' bounds where the core's own altitude crosses them,
// a click that chooses a town or a point at sea, the map following the
// main window's calculations and ticks, and a failed save.
//
// The seasons' instants are USNO's (tests/data/usno-seasons.txt); the
// towns' coordinates GeoNames' (the list's) and their offsets those of the
// zones' rules (tzdata).

#include <QDir>
#include <QMetaObject>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <optional>

#include "app/hemisphere_list.h"
#include "app/map_window.h"
#include "app/world_map.h"
#include "core/map/overhead.h"
#include "core/sun/theory.h"
#include "window_test_support.h"

namespace ostrel::testing {
namespace {

// The shade whose colour the map shows under a point, over land or sea;
// none for a colour that is not a shade.
std::optional<Shade> ShadeUnder(const WorldMap &map, double latitude, double longitude) {
  QPointF at;
  QMetaObject::invokeMethod(const_cast<WorldMap *>(&map), "toWidget", Qt::DirectConnection,
                            Q_RETURN_ARG(QPointF, at), Q_ARG(double, latitude),
                            Q_ARG(double, longitude));
  const QRgb colour = map.shadingAt(at).rgb();
  for (int i = 0; i < kShadeCount; ++i)
    for (const bool land : {false, true})
      if (WorldMap::ShadeColour(static_cast<Shade>(i), land) == colour)
        return static_cast<Shade>(i);
  return std::nullopt;
}

MapWindow *OpenMap(MainWindow &window) {
  window.me3_3_Click();
  return window.findChild<MapWindow *>(QStringLiteral("frmMap"));
}

void ShowMoment(WorldMap &map, const QDateTime &utc) {
  ASSERT_TRUE(QMetaObject::invokeMethod(&map, "showMoment", Qt::DirectConnection,
                                        Q_ARG(QDateTime, utc)));
}

CivilDate DateOf(const QDateTime &utc) {
  return {utc.date().year(), utc.date().month(), utc.date().day()};
}
double HoursOf(const QDateTime &utc) { return utc.time().msecsSinceStartOfDay() / 3600000.0; }

const QDateTime kSeasons[] = {
    {QDate(2024, 3, 20), QTime(3, 6), Qt::UTC},
    {QDate(2024, 6, 20), QTime(20, 51), Qt::UTC},
    {QDate(2024, 9, 22), QTime(12, 44), Qt::UTC},
    {QDate(2024, 12, 21), QTime(9, 21), Qt::UTC},
    {QDate(2011, 6, 21), QTime(17, 16), Qt::UTC},
};

TEST(WorldMap, DayAtTheSubsolarPointNightAtItsAntipode) {
  const auto window = MakeWindow();
  MapWindow *frmMap = OpenMap(*window);
  ASSERT_NE(frmMap, nullptr);
  auto *map = Find<WorldMap>(*frmMap, "WorldMap");
  for (const Theory theory : {Theory::Classic, Theory::Precise}) {
    frmMap->SetTheory(theory);
    for (const QDateTime &moment : kSeasons) {
      SCOPED_TRACE(moment.toString(Qt::ISODate).toStdString() + " " + TheoryKey(theory));
      ShowMoment(*map, moment);
      EXPECT_EQ(map->shownMoment(), moment);
      const GeoPoint sub = SunOverheadAt(theory, DateOf(moment), HoursOf(moment)).Subsolar();
      const double antipode = sub.longitudeDeg > 0 ? sub.longitudeDeg - 180 : sub.longitudeDeg + 180;
      EXPECT_EQ(ShadeUnder(*map, sub.latitudeDeg, sub.longitudeDeg), Shade::Daylight);
      EXPECT_EQ(ShadeUnder(*map, -sub.latitudeDeg, antipode), Shade::Night);
    }
  }
}

// Along parallels across the map, each pixel a bound passes near: the
// shade of that pixel and of three on either side is the band of the
// core's own altitude (the day's SunDay at that point in zone 0) at the
// pixel's centre.  Pixels within 0.005 degree of a bound are left out:
// the map leaves out the precise theory's parallax, at most 0.0025 degree.
TEST(WorldMap, ShadeBoundsLieWhereTheCoresAltitudeCrossesThem) {
  const auto window = MakeWindow();
  MapWindow *frmMap = OpenMap(*window);
  ASSERT_NE(frmMap, nullptr);
  auto *map = Find<WorldMap>(*frmMap, "WorldMap");
  const double kLatitudes[] = {52.5, 10.3, -33.9};
  for (const Theory theory : {Theory::Classic, Theory::Precise}) {
    frmMap->SetTheory(theory);
    for (const QDateTime &moment : {kSeasons[1], kSeasons[3]}) {
      ShowMoment(*map, moment);
      for (const double latitude : kLatitudes) {
        SCOPED_TRACE(moment.toString(Qt::ISODate).toStdString() + " " + TheoryKey(theory) + " " +
                     std::to_string(latitude));
        const double y = std::floor(map->toWidget(latitude, 0).y()) + 0.5;
        const double left = map->toWidget(0, -180).x();
        const double right = map->toWidget(0, 180).x();
        const auto coreShade = [&](double x) {
          const QPointF geo = map->toGeo(QPointF(x, y));
          const Site site{geo.y() * kRad, geo.x() / 15, 0};
          const double altitude =
              MakeSunDay(theory, site, DateOf(moment))->PlaceAt(HoursOf(moment)).altitudeDeg;
          const bool nearBound = std::fabs(std::remainder(altitude, 6.0)) < 0.005;
          return std::make_pair(ShadeOf(altitude), nearBound);
        };
        int crossings = 0;
        Shade previous = coreShade(left + 0.5).first;
        for (double x = left + 1.5; x < right; x += 1) {
          const Shade here = coreShade(x).first;
          if (here == previous)
            continue;
          previous = here;
          ++crossings;
          for (double near = x - 3; near <= x + 3; near += 1) {
            const auto [expected, nearBound] = coreShade(near);
            if (nearBound)
              continue;
            const QPointF geo = map->toGeo(QPointF(near, y));
            EXPECT_EQ(ShadeUnder(*map, geo.y(), geo.x()), expected) << "at x " << near;
          }
        }
        EXPECT_GE(crossings, 2);
      }
    }
  }
}

QPoint PointOf(const WorldMap &map, double latitude, double longitude) {
  return map.toWidget(latitude, longitude).toPoint();
}

TEST(WorldMap, AClickChoosesTheNearestTownWithItsZone) {
  const struct {
    double latitude, longitude;
    const char *month;
    QStringList fields; // Town, LongGrad, LongMin, LatGrad, LatMin, Timezon
    int west, south;
  } kTowns[] = {
      // Reykjavík 64.13548 N 21.89541 W, no summer time.
      {64.13548, -21.89541, "7", {"Reykjavik", "21", "53.72", "64", "8.13", "0"}, 1, 0},
      // Hilo 19.72991 N 155.09073 W.
      {19.72991, -155.09073, "1", {"Hilo", "155", "5.44", "19", "43.79", "-10"}, 1, 0},
      // Punta Arenas 53.16282 S 70.90922 W: Chile's Magallanes keeps -3.
      {-53.16282, -70.90922, "1", {"Punta Arenas", "70", "54.55", "53", "9.77", "-3"}, 1, 1},
      // Alice Springs 23.69748 S 133.88362 E: a half-hour zone.
      {-23.69748, 133.88362, "7", {"Alice Springs", "133", "53.02", "23", "41.85", "9.5"}, 0, 1},
  };
  for (const auto &town : kTowns) {
    SCOPED_TRACE(town.fields.front().toStdString());
    const auto window = MakeWindow();
    SelectManual(*window);
    Fill(*window, Input{.day = "15", .month = town.month, .year = "2026"});
    MapWindow *frmMap = OpenMap(*window);
    ASSERT_NE(frmMap, nullptr);
    auto *map = Find<WorldMap>(*frmMap, "WorldMap");
    const QStringList messages = RunClosingMessages([&] {
      QTest::mouseClick(map, Qt::LeftButton, {}, PointOf(*map, town.latitude, town.longitude));
    });
    EXPECT_TRUE(messages.isEmpty()) << messages.join(" ").toStdString();
    const QStringList fields{TextOf(*window, "Town"),   TextOf(*window, "LongGrad"),
                             TextOf(*window, "LongMin"), TextOf(*window, "LatGrad"),
                             TextOf(*window, "LatMin"),  TextOf(*window, "Timezon")};
    EXPECT_EQ(fields, town.fields);
    EXPECT_EQ(Find<HemisphereList>(*window, "List1")->TopIndex(), town.west);
    EXPECT_EQ(Find<HemisphereList>(*window, "List2")->TopIndex(), town.south);
    // Calculated, and the map shows the site.
    EXPECT_EQ(window->lastInput().Timezon, town.fields.back().toFloat());
    EXPECT_NEAR(window->lastInput().LongHours * 15, town.longitude, 0.01);
  }
}

// Open sea: the point as clicked (within a pixel, 0.375 degree at the
// map's size), the town "–" and the longitude's zone to the hour.
TEST(WorldMap, AClickAtSeaChoosesThePointAndTheZoneOfItsLongitude) {
  const struct {
    const char *sea;
    double latitude, longitude;
    const char *timezon;
  } kSeas[] = {
      {"South Pacific", -30, -140, "-9"},
      {"South Atlantic", -40, -20, "-1"},
      {"Indian Ocean", -30, 80, "5"},
      {"North Pacific", 30, 175, "12"},
  };
  for (const bool tracking : {false, true}) {
    for (const auto &sea : kSeas) {
      SCOPED_TRACE(std::string(sea.sea) + (tracking ? " tracking" : " manual"));
      const auto window = MakeWindow();
      if (!tracking) {
        SelectManual(*window);
        Fill(*window, Input{});
      } else {
        window->Timer1_Timer();
      }
      MapWindow *frmMap = OpenMap(*window);
      ASSERT_NE(frmMap, nullptr);
      auto *map = Find<WorldMap>(*frmMap, "WorldMap");
      const QStringList messages = RunClosingMessages([&] {
        QTest::mouseClick(map, Qt::LeftButton, {}, PointOf(*map, sea.latitude, sea.longitude));
      });
      EXPECT_TRUE(messages.isEmpty()) << messages.join(" ").toStdString();
      EXPECT_EQ(TextOf(*window, "Town"), QString::fromUtf8("–"));
      EXPECT_EQ(TextOf(*window, "Timezon"), sea.timezon);
      const double west = Find<HemisphereList>(*window, "List1")->TopIndex() == 1 ? -1 : 1;
      const double south = Find<HemisphereList>(*window, "List2")->TopIndex() == 1 ? -1 : 1;
      EXPECT_NEAR(west * (TextOf(*window, "LongGrad").toDouble() +
                          TextOf(*window, "LongMin").toDouble() / 60),
                  sea.longitude, 0.375);
      EXPECT_NEAR(south * (TextOf(*window, "LatGrad").toDouble() +
                           TextOf(*window, "LatMin").toDouble() / 60),
                  sea.latitude, 0.375);
      // Calculated at once, by "Calculate" or by a tick.
      EXPECT_NEAR(window->lastInput().LongHours * 15, sea.longitude, 0.375);
      EXPECT_EQ(window->lastInput().Timezon, QString(sea.timezon).toFloat());
    }
  }
}

// A tick a second moves the moment shown but recomputes the shades once a
// minute; a calculation by hand shows its own moment; the sliders move the
// map alone and "Now" brings it back.
TEST(WorldMap, FollowsTicksAndCalculationsShadingOnceAMinute) {
  auto clock = std::make_shared<FakeClock>();
  clock->now = QDateTime(QDate(2011, 6, 21), QTime(12, 0, 10));
  const auto window = MakeWindow(clock);
  window->Timer1_Timer();
  MapWindow *frmMap = OpenMap(*window);
  ASSERT_NE(frmMap, nullptr);
  auto *map = Find<WorldMap>(*frmMap, "WorldMap");
  const float zone = TextOf(*window, "Timezon").toFloat();
  const auto utcOf = [zone](const QDateTime &local) {
    return QDateTime(local.date(), local.time(), Qt::UTC).addSecs(qint64(std::lround(-zone * 3600)));
  };
  EXPECT_EQ(map->shownMoment(), utcOf(clock->now));
  const int runs = map->shadingRuns();
  for (int second = 11; second <= 29; ++second) {
    clock->now = QDateTime(QDate(2011, 6, 21), QTime(12, 0, second));
    window->Timer1_Timer();
    EXPECT_EQ(map->shownMoment(), utcOf(clock->now));
  }
  EXPECT_EQ(map->shadingRuns(), runs) << "the shades stay within the minute";
  clock->now = QDateTime(QDate(2011, 6, 21), QTime(12, 0, 45));
  window->Timer1_Timer();
  EXPECT_EQ(map->shadingRuns(), runs + 1) << "the next minute's shades";

  auto *hours = Find<QSlider>(*frmMap, "HourSlider");
  auto *days = Find<QSlider>(*frmMap, "DaySlider");
  hours->setValue(3);
  days->setValue(-10);
  EXPECT_EQ(map->shownMoment(), utcOf(clock->now).addSecs(3 * 3600).addDays(-10));
  EXPECT_EQ(TextOf(*window, "TimeHour"), "12") << "the main window stays";
  Find<QPushButton>(*frmMap, "MapNow")->click();
  EXPECT_EQ(map->shownMoment(), utcOf(clock->now));
  const int movedRuns = map->shadingRuns();

  SelectManual(*window);
  Fill(*window, Input{.timezon = "5.5", .day = "22", .month = "12", .year = "2024", .hour = "7",
                      .minute = "30", .second = "15"});
  const QStringList messages = RunClosingMessages([&] { window->Command2_Click(); });
  EXPECT_TRUE(messages.isEmpty()) << messages.join(" ").toStdString();
  EXPECT_EQ(map->shownMoment(), QDateTime(QDate(2024, 12, 22), QTime(2, 0, 15), Qt::UTC));
  EXPECT_EQ(map->shadingRuns(), movedRuns + 1);
}

TEST(WorldMap, AFailedSaveSaysSoOnceAndKeepsTheOldFile) {
  const struct {
    const char *what;
    const char *oldFile; // written first, or none
    const char *path;
  } kFailures[] = {
      {"into a missing folder", nullptr, "missing/map.png"},
      {"where a file stands for the folder", "old.png", "old.png/map.svg"},
      {"of a type neither PNG nor SVG", "old.bmp", "old.bmp"},
  };
  const QByteArray old = "the old file\n";
  const auto window = MakeWindow();
  window->Timer1_Timer();
  MapWindow *frmMap = OpenMap(*window);
  ASSERT_NE(frmMap, nullptr);
  for (const auto &failure : kFailures) {
    QTemporaryDir folder;
    if (failure.oldFile)
      WriteFile(folder.filePath(failure.oldFile), old);
    bool saved = true;
    const QStringList messages =
        RunClosingMessages([&] { saved = frmMap->savePicture(folder.filePath(failure.path)); });
    EXPECT_FALSE(saved) << failure.what;
    EXPECT_EQ(messages.size(), 1) << failure.what;
    ExpectOnlyOldFileLeft(folder.path(), failure.oldFile, old, failure.what);
  }
  // And a good save replaces the old file whole.
  QTemporaryDir folder;
  WriteFile(folder.filePath("map.png"), old);
  EXPECT_TRUE(frmMap->savePicture(folder.filePath("map.png")));
  EXPECT_TRUE(ReadFile(folder.filePath("map.png")).startsWith("\x89PNG"));
}

} // namespace
} // namespace ostrel::testing
