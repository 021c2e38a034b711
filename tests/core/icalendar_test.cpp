// SPDX-License-Identifier: GPL-3.0-or-later
// The iCalendar writer: its line folding, TEXT escaping, line ends, UIDs
// and the events it holds against the day's own list.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/events/icalendar.h"
#include "core/sun/theory.h"

namespace ostrel {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180;

// Kishinev at UTC+2 in winter, +3 in summer (from the last Sunday of March).
CalendarRequest Kishinev(std::vector<std::string> keys, CivilDate from, CivilDate to) {
  CalendarRequest request;
  request.site = Site{47 * kDeg, 28.8333 / 15, 0};
  request.from = from;
  request.to = to;
  for (const std::string &key : keys) request.events.push_back(*ParseCalendarEvent(key));
  request.stampSeconds = 1767225600; // 2026-01-01T00:00:00Z
  request.offsetOn = [](const CivilDate &date) {
    return date.month > 3 && date.month < 11 ? 3.0f : 2.0f;
  };
  return request;
}

// The lines of a file unfolded (RFC 5545 3.1), each without its CRLF.
std::vector<std::string> Unfolded(const std::string &file) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < file.size()) {
    const std::size_t end = file.find("\r\n", at);
    const std::string line = file.substr(at, end - at);
    if (!line.empty() && line[0] == ' ')
      lines.back() += line.substr(1);
    else
      lines.push_back(line);
    at = end + 2;
  }
  return lines;
}

std::vector<std::string> Values(const std::string &file, const std::string &name) {
  std::vector<std::string> values;
  for (const std::string &line : Unfolded(file)) {
    if (line.rfind(name + ":", 0) == 0) values.push_back(line.substr(name.size() + 1));
  }
  return values;
}

TEST(Calendar, FoldsAt75OctetsOnACharacterBoundary) {
  const std::string russian = "Вечерний золотой час — Петропавловск-Камчатский, RU";
  const struct {
    const char *what;
    std::string line;
  } kLines[] = {
      {"ASCII, 75 octets, not folded", std::string(75, 'a')},
      {"ASCII, 76 octets", std::string(76, 'a')},
      {"ASCII, three lines", std::string(200, 'a')},
      {"Cyrillic, two octets a letter, from an odd start", "SUMMARY:" + russian + russian},
      {"Cyrillic from an even start", "SUMMARY:x" + russian + russian},
      {"a three-octet character at the cut", std::string(73, 'a') + "—" + std::string(80, 'b')},
  };
  for (const auto &line : kLines) {
    const std::string folded = FoldedLine(line.line);
    ASSERT_GE(folded.size(), 2u);
    EXPECT_EQ(folded.substr(folded.size() - 2), "\r\n") << line.what;
    std::string unfolded;
    std::size_t at = 0;
    int pieces = 0;
    while (at < folded.size()) {
      const std::size_t end = folded.find("\r\n", at);
      const std::string piece = folded.substr(at, end - at);
      EXPECT_LE(piece.size(), 75u) << line.what;
      EXPECT_FALSE(piece.empty()) << line.what;
      // No piece begins inside a character: a continuation begins after
      // its space with a first octet.
      const std::string text = pieces > 0 ? piece.substr(1) : piece;
      if (pieces > 0) {
        EXPECT_EQ(piece[0], ' ') << line.what;
      }
      EXPECT_NE(static_cast<unsigned char>(text[0]) & 0xC0, 0x80) << line.what;
      unfolded += text;
      ++pieces;
      at = end + 2;
    }
    EXPECT_EQ(unfolded, line.line) << line.what;
    EXPECT_EQ(pieces > 1, line.line.size() > 75) << line.what;
  }
}

TEST(Calendar, EscapesText) {
  const struct {
    const char *text, *escaped;
  } kTexts[] = {
      {"Springfield, US", "Springfield\\, US"},
      {"a;b", "a\\;b"},
      {"back\\slash", "back\\\\slash"},
      {"two\nlines", "two\\nlines"},
      {"two\r\nlines", "two\\nlines"},
      {"tab\tand bell\a", "taband bell"},
      {"Восход — Кишинёв", "Восход — Кишинёв"},
  };
  for (const auto &text : kTexts) EXPECT_EQ(EscapedText(text.text), text.escaped) << text.text;
}

TEST(Calendar, UtcStamps) {
  const struct {
    long long seconds;
    const char *stamp;
  } kStamps[] = {
      {0, "19700101T000000Z"},
      {1767225600, "20260101T000000Z"},
      {-1, "19691231T235959Z"},
      {253402300799, "99991231T235959Z"},
      {951782400, "20000229T000000Z"},
  };
  for (const auto &s : kStamps) EXPECT_EQ(UtcStamp(s.seconds), s.stamp) << s.seconds;
}

// The events themselves against `day` are tests/cli/ics_readback.py's.
TEST(Calendar, CrlfLinesAndOneAlarmAnEvent) {
  CalendarRequest request =
      Kishinev({"sunrise", "evening_golden_hour"}, {2026, 3, 28}, {2026, 3, 30});
  request.alarmMinutes = 20;
  const std::string file = WriteCalendar(request);
  for (std::size_t i = 0; i < file.size(); ++i) {
    if (file[i] == '\n' || file[i] == '\r') {
      ASSERT_EQ(file.substr(i - (file[i] == '\n'), 2), "\r\n") << "a bare line end at " << i;
    }
  }
  EXPECT_EQ(file.rfind("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:", 0), 0u);
  EXPECT_EQ(file.substr(file.size() - 15), "END:VCALENDAR\r\n");
  EXPECT_EQ(Values(file, "TRIGGER"), std::vector<std::string>(6, "-PT20M"));
  EXPECT_EQ(Values(file, "DTEND").size(), 3u) << "the golden hours alone have an end";
  EXPECT_EQ(Values(file, "SUMMARY")[0], "Sunrise — 47.0000°N 28.8333°E");
}

TEST(Calendar, UidsOneAnOccurrenceAndTheSameInEveryRun) {
  const auto uids = [](std::vector<std::string> keys, CivilDate from, CivilDate to,
                       bool russian, Theory theory) {
    CalendarRequest request = Kishinev(std::move(keys), from, to);
    request.russian = russian;
    request.theory = theory;
    return Values(WriteCalendar(request), "UID");
  };
  const std::vector<std::string> year =
      uids({"sunrise", "sunset", "full_moon", "azimuth:100"}, {2026, 1, 1}, {2026, 12, 31}, false,
           Theory::Classic);
  std::vector<std::string> sorted = year;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end()) << "a UID twice";
  EXPECT_GE(year.size(), 365u * 3 + 12);
  // The same events in another language, theory or range keep their UIDs.
  const std::vector<std::string> march =
      uids({"sunrise"}, {2026, 3, 1}, {2026, 3, 31}, true, Theory::Precise);
  ASSERT_EQ(march.size(), 31u);
  EXPECT_EQ(march[0], "sunrise-20260301-47.0000N-28.8333E@ostrel");
  for (const std::string &uid : march)
    EXPECT_NE(std::find(year.begin(), year.end(), uid), year.end()) << uid;
}

TEST(Calendar, KeysAndTheirSummaries) {
  const struct {
    const char *key;
    bool russian;
    const char *summary; // of the first event of 2026-06, escaped
  } kKeys[] = {
      {"sunset", false, "Sunset — Kishinev\\, MD"},
      {"sunset", true, "Заход — Kishinev\\, MD"},
      {"morning_blue_hour", true, "Утренний синий час — Kishinev\\, MD"},
      {"altitude:-6:setting", false, "Sun at -6°\\, setting — Kishinev\\, MD"},
      {"altitude:10:rising", true, "Солнце на высоте +10°\\, подъём — Kishinev\\, MD"},
      {"azimuth:180", false, "Sun at azimuth 180° — Kishinev\\, MD"},
      {"moonrise", true, "Восход Луны — Kishinev\\, MD"},
      {"june_solstice", true, "Июньское солнцестояние — Kishinev\\, MD"},
      {"full_moon", false, "Full moon — Kishinev\\, MD"},
  };
  for (const auto &k : kKeys) {
    CalendarRequest request = Kishinev({k.key}, {2026, 6, 1}, {2026, 6, 30});
    request.siteName = "Kishinev, MD";
    request.russian = k.russian;
    const std::vector<std::string> summaries = Values(WriteCalendar(request), "SUMMARY");
    ASSERT_FALSE(summaries.empty()) << k.key;
    EXPECT_EQ(summaries[0], k.summary) << k.key;
  }
  for (const char *bad : {"", "sunrise ", "golden_hour", "altitude:91:rising", "azimuth:-1",
                          "morning_golden_hour_begin"})
    EXPECT_FALSE(ParseCalendarEvent(bad)) << bad;
}

} // namespace
} // namespace ostrel
