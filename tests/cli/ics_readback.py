#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""`ostrel-cli ics` read back by a real iCalendar parser (Debian's
python3-icalendar): its events against `ostrel-cli day --format json` for
the same dates, converted to UTC, across a change to summer time and into
a polar day, and for an observer on a hill; UIDs unique and the same in every run, DTSTAMP from
SOURCE_DATE_EPOCH, VALARM when asked, CRLF lines of at most 75 octets.

    ics_readback.py PATH/TO/ostrel-cli
"""
import datetime
import json
import os
import subprocess
import sys

try:
    import icalendar
except ImportError:
    sys.exit("python3-icalendar is missing: scripts/deps.sh test installs it")

CLI = sys.argv[1]
EPOCH = 1767225600  # 2026-01-01T00:00:00Z
UTC = datetime.timezone.utc
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(words, epoch=EPOCH):
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
    done = subprocess.run([CLI] + words, env=env, capture_output=True, check=False)
    if done.returncode != 0:
        sys.exit("%s: status %d: %s" % (" ".join(words), done.returncode, done.stderr.decode()))
    return done.stdout


def dates(first, last):
    day = datetime.date.fromisoformat(first)
    while day <= datetime.date.fromisoformat(last):
        yield day.isoformat()
        day += datetime.timedelta(days=1)


def day_moments(site, date, keys):
    """(key, start, end) of `day`'s JSON for a date, in UTC; end None for a
    moment, and nothing for an event that does not happen."""
    events = json.loads(run(["day"] + site + ["--date", date, "--format", "json"]))["events"]
    utc = lambda text: datetime.datetime.fromisoformat(text).astimezone(UTC)
    found = []
    for key in keys:
        value = events[key]
        if isinstance(value, list):
            if value[0] and value[1]:
                found.append((key, utc(value[0]), utc(value[1])))
        elif value:
            found.append((key, utc(value), None))
    return found


# Berlin over the change to summer time (2026-03-29); Longyearbyen (78.2 N)
# into the polar day that begins about 20 April.
CASES = [
    ("Berlin, summer time", ["--place", "Berlin"], "2026-03-27", "2026-03-31",
     ["sunrise", "sunset", "civil_dawn", "evening_golden_hour", "morning_blue_hour"]),
    ("Longyearbyen, polar day", ["--lat", "78.22", "--lon", "15.65", "--tz", "2"],
     "2026-04-15", "2026-04-24", ["sunrise", "sunset", "morning_golden_hour"]),
    # An observer 1000 m up with the plain 800 m below: sunrise and sunset
    # over the dipped horizon, the golden hour unchanged.
    ("Observer on a hill", ["--lat", "47", "--lon", "8.5", "--tz", "1", "--elevation", "1000",
                            "--eye", "800"],
     "2026-06-20", "2026-06-22", ["sunrise", "sunset", "evening_golden_hour"]),
]

for what, site, first, last, keys in CASES:
    words = ["ics"] + site + ["--from", first, "--to", last, "--events", ",".join(keys),
                              "--alarm", "15"]
    raw = run(words)
    lines = raw.split(b"\r\n")
    check(lines[-1] == b"", what + ": the file ends with CRLF")
    check(all(b"\n" not in line and b"\r" not in line for line in lines),
          what + ": every line ends with CRLF")
    check(all(len(line) <= 75 for line in lines), what + ": lines of at most 75 octets")

    calendar = icalendar.Calendar.from_ical(raw)
    check(str(calendar["VERSION"]) == "2.0", what + ": VERSION")
    events = list(calendar.walk("VEVENT"))
    got = sorted((str(e["UID"]).split("-2026")[0], e["DTSTART"].dt,
                  e["DTEND"].dt if "DTEND" in e else None) for e in events)
    expected = sorted(m for date in dates(first, last) for m in day_moments(site, date, keys))
    check(got == expected, "%s: the events are day's\n  got      %s\n  expected %s"
          % (what, got, expected))
    check(all(e["DTSTART"].dt.tzinfo is not None and e["DTSTART"].dt.utcoffset().total_seconds() == 0
              for e in events), what + ": DTSTART in UTC")

    uids = [str(e["UID"]) for e in events]
    check(len(uids) == len(set(uids)), what + ": UIDs unique")
    check(all(e["DTSTAMP"].dt == datetime.datetime.fromtimestamp(EPOCH, UTC) for e in events),
          what + ": DTSTAMP is SOURCE_DATE_EPOCH")
    alarms = [a for e in events for a in e.walk("VALARM")]
    check(len(alarms) == len(events) and
          all(a["TRIGGER"].dt == datetime.timedelta(minutes=-15) and str(a["ACTION"]) == "DISPLAY"
              for a in alarms), what + ": one VALARM 15 minutes before each event")

    # Again, in Russian, without alarms and at another DTSTAMP: the same UIDs.
    again = icalendar.Calendar.from_ical(run(words[:-2] + ["--lang", "ru"], EPOCH + 86400))
    check([str(e["UID"]) for e in again.walk("VEVENT")] == uids, what + ": UIDs stable")
    check(not list(again.walk("VALARM")), what + ": no VALARM unless asked")
    check(run(words) == raw, what + ": the same bytes in every run")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("ics read back: %d cases agree with day" % len(CASES))
