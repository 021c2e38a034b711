// SPDX-License-Identifier: GPL-3.0-or-later
// The event language and the search for an event's next moments, against
// the day's own events (FindDayEvents, FindMoonDayEvents) of each date.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/day/day_events.h"
#include "core/day/day_table.h"
#include "core/events/next_event.h"
#include "core/events/seasons.h"
#include "core/moon/moon_day.h"
#include "core/sun/theory.h"

namespace ostrel {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180;

Site SiteAt(double latitudeDeg, double longitudeDeg) {
  return Site{latitudeDeg * kDeg, longitudeDeg / 15, 0};
}

TEST(EventLanguage, EveryKeyOfTheDayAndTheSeasonsIsAnEvent) {
  const auto rows = DayEventRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::optional<Event> event = ParseEvent(rows[i].key);
    ASSERT_TRUE(event) << rows[i].key;
    EXPECT_EQ(event->family, EventFamily::SunDay);
    EXPECT_EQ(event->row, i);
  }
  const auto seasons = SeasonEventRows();
  for (std::size_t i = 0; i < seasons.size(); ++i) {
    const std::optional<Event> event = ParseEvent(seasons[i].key);
    ASSERT_TRUE(event) << seasons[i].key;
    EXPECT_EQ(event->family, EventFamily::Season);
    EXPECT_EQ(event->row, i);
  }
}

TEST(EventLanguage, FormsAndTheirValues) {
  const struct {
    const char *key;
    EventFamily family;
    double degrees;
    bool rising;
  } cases[] = {
      {"altitude:-6:rising", EventFamily::SunAltitude, -6, true},
      {"altitude:+10.5:setting", EventFamily::SunAltitude, 10.5, false},
      {"altitude:90:rising", EventFamily::SunAltitude, 90, true},
      {"altitude:-90:setting", EventFamily::SunAltitude, -90, false},
      {"azimuth:0", EventFamily::SunAzimuth, 0, true},
      {"azimuth:93.25", EventFamily::SunAzimuth, 93.25, true},
      {"azimuth:360", EventFamily::SunAzimuth, 360, true},
      {"moonrise", EventFamily::MoonDay, 0, true},
      {"moonset", EventFamily::MoonDay, 0, true},
      {"moon_transit", EventFamily::MoonDay, 0, true},
      {"new_moon", EventFamily::MoonQuarter, 0, true},
      {"first_quarter", EventFamily::MoonQuarter, 0, true},
      {"full_moon", EventFamily::MoonQuarter, 0, true},
      {"last_quarter", EventFamily::MoonQuarter, 0, true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.key);
    const std::optional<Event> event = ParseEvent(c.key);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->family, c.family);
    EXPECT_EQ(event->degrees, c.degrees);
    if (c.family == EventFamily::SunAltitude) {
      EXPECT_EQ(event->rising, c.rising);
    }
  }
  EXPECT_EQ(ParseEvent("moonset")->moonDay, MoonDayEvent::Moonset);
  EXPECT_EQ(ParseEvent("moon_transit")->moonDay, MoonDayEvent::Transit);
  EXPECT_EQ(ParseEvent("full_moon")->quarter, MoonQuarter::FullMoon);
  EXPECT_EQ(ParseEvent("last_quarter")->quarter, MoonQuarter::LastQuarter);
}

TEST(EventLanguage, KeysOfNoEventAreRefused) {
  for (const char *key : {"",
                          "Sunrise",
                          "sunrise ",
                          "sunsett",
                          "transit",
                          "morning_golden_hour",
                          "equinox",
                          "altitude",
                          "altitude:",
                          "altitude:10",
                          "altitude:10:",
                          "altitude:10:up",
                          "altitude:90.5:rising",
                          "altitude:-91:setting",
                          "altitude:1e1:rising",
                          "altitude::rising",
                          "altitude:nan:rising",
                          "azimuth",
                          "azimuth:",
                          "azimuth:-1",
                          "azimuth:360.01",
                          "azimuth:inf",
                          "azimuth:1,5",
                          "new moon"}) {
    EXPECT_FALSE(ParseEvent(key)) << '"' << key << '"';
  }
}

// Every date's event at that date's offset, as the day's list gives it: UT
// seconds from 1970-01-01.
std::vector<long long> DaysOwn(const std::string &key, const Site &site, long long firstDay,
                               long long lastDay, const DateOffset &offsetOn) {
  std::vector<long long> moments;
  for (long long dayNumber = firstDay; dayNumber <= lastDay; ++dayNumber) {
    Site local = site;
    local.Timezon = offsetOn(DateOfDay(dayNumber));
    DayMoment moment;
    if (key == "moonrise") {
      moment = FindMoonDayEvents(MoonDay(local, DateOfDay(dayNumber))).moonrise;
    } else {
      const auto rows = DayEventRows();
      const auto row = std::find_if(rows.begin(), rows.end(),
                                    [&](const DayEventRow &r) { return key == r.key; });
      moment =
          row->moment(FindDayEvents(*MakeSunDay(Theory::Classic, local, DateOfDay(dayNumber))));
    }
    if (moment.happens())
      moments.push_back(dayNumber * 86400 + moment.seconds - std::llround(local.Timezon * 3600));
  }
  return moments;
}

// Over changes of offset (an hour forward on 2026-03-29, back on
// 2026-10-25, as central Europe's clocks) every date's event is found once,
// none twice, whatever hour it falls in: the Moon rises at every hour of
// the day through a month.
TEST(NextEvents, EveryDatesEventOnceAcrossChangesOfOffset) {
  const DateOffset central = [](const CivilDate &date) {
    const long long day = DayNumber(date);
    return day >= DayNumber({2026, 3, 29}) && day < DayNumber({2026, 10, 25}) ? 2.0f : 1.0f;
  };
  const struct {
    const char *key;
    double latitudeDeg, longitudeDeg;
    CivilDate from, to;
  } cases[] = {
      {"moonrise", 52.52, 13.41, {2026, 3, 1}, {2026, 5, 1}},
      {"moonrise", 52.52, 13.41, {2026, 10, 1}, {2026, 12, 1}},
      {"sunset", 52.52, 13.41, {2026, 3, 20}, {2026, 4, 10}},
      {"astronomical_dusk", 48.0, 2.0, {2026, 3, 1}, {2026, 11, 30}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.key);
    const Site site = SiteAt(c.latitudeDeg, c.longitudeDeg);
    const long long first = DayNumber(c.from), last = DayNumber(c.to);
    const std::vector<long long> expected = DaysOwn(c.key, site, first, last, central);
    NextEventSearch search;
    search.event = *ParseEvent(c.key);
    search.site = site;
    search.afterSeconds = first * 86400 - 3600; // 00:00 of the first date at +1
    search.count = int(expected.size());
    search.offsetOn = central;
    const std::vector<long long> found = FindNextEvents(search);
    EXPECT_EQ(found, expected);
  }
}

// The hour between two dates' spans when the clocks go back, and the hour
// both dates span when they go forward: at 22.5 E the Sun culminates near
// 10:40 UT, 00:40 of the next date at +14 and 23:40 at +13, so that on the
// date of a change between +14 and +13 the culmination falls in that hour.
// Each is found once: the culminations are one a date of UT, the day's own
// at offset 0.
TEST(NextEvents, AnEventInTheHourTheClocksRepeatOrSkip) {
  const CivilDate change{2026, 3, 10};
  const struct {
    const char *what;
    float before, after; // the offset before and from the date of change, hours
  } cases[] = {{"back, +14 to +13", 14, 13}, {"forward, +13 to +14", 13, 14}};
  const Site site = SiteAt(0, 22.5);
  const DateOffset utc = [](const CivilDate &) { return 0.0f; };
  const long long first = DayNumber({2026, 3, 2}), last = DayNumber({2026, 3, 18});
  const std::vector<long long> expected = DaysOwn("culmination", site, first, last, utc);
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    NextEventSearch search;
    search.event = *ParseEvent("culmination");
    search.site = site;
    search.afterSeconds = first * 86400;
    search.count = int(expected.size());
    search.offsetOn = [&c, change](const CivilDate &date) {
      return DayNumber(date) < DayNumber(change) ? c.before : c.after;
    };
    const std::vector<long long> found = FindNextEvents(search);
    ASSERT_EQ(found.size(), expected.size());
    // The classic theory counts sidereal time from 0 h UT of the local
    // date: the same instant from two dates may round a second apart.
    for (std::size_t i = 0; i < found.size(); ++i)
      EXPECT_LE(std::llabs(found[i] - expected[i]), 1) << i;
  }
}

// A search that reaches the end of 2100 stops there.
TEST(NextEvents, TheSearchEndsWith2100) {
  NextEventSearch search;
  search.event = *ParseEvent("sunset");
  search.site = SiteAt(0, 0);
  search.afterSeconds = DayNumber({2100, 12, 30}) * 86400;
  search.count = 10;
  search.offsetOn = [](const CivilDate &) { return 0.0f; };
  EXPECT_EQ(FindNextEvents(search).size(), 2u);
}

} // namespace
} // namespace ostrel
