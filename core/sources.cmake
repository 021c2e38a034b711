# SPDX-License-Identifier: GPL-3.0-or-later
# The core's sources, one list for its library (core/CMakeLists.txt) and for
# the fuzz project (fuzz/CMakeLists.txt), which compiles them itself.
# ostrel_core_sources(VAR ROOT) sets VAR to the sources under ROOT/core.
function(ostrel_core_sources var root)
  set(files
    # The window's run: MAINCALC, its steps, its records and text rules.
    run/records.h
    run/ephemeris.h run/ephemeris.cpp
    run/ephemeris_calendar.cpp
    run/ephemeris_orbit.cpp
    run/ephemeris_horizon.cpp
    run/ephemeris_riseset.cpp
    run/ephemeris_precise.cpp
    run/typed_input.h run/typed_input.cpp
    run/text_rules.h run/text_rules.cpp
    # The theories of the Sun's place and the switch between them.
    sun/classic_theory.h sun/classic_theory.cpp
    sun/precise_sun.h sun/precise_sun.cpp
    sun/sun_day.h sun/sun_day.cpp
    sun/theory.h sun/theory.cpp
    sun/angles.h
    # The shadow of a vertical object.
    sun/shadow.h sun/shadow.cpp
    # The Moon: its geocentric place, its quarters, its place from a site.
    moon/moon_theory.h moon/moon_theory.cpp
    moon/moon_quarters.h moon/moon_quarters.cpp
    moon/moon_place.h moon/moon_place.cpp
    moon/moon_day.h moon/moon_day.cpp
    moon/moon_quarter_dates.h moon/moon_quarter_dates.cpp
    # The events of a year that are not a single day's: the seasons.
    events/seasons.h events/seasons.cpp
    # The event language and the search for an event's next moments.
    events/next_event.h events/next_event.cpp
    # The events of a range of dates as an iCalendar file.
    events/icalendar.h events/icalendar.cpp
    # A day's events and their table.
    day/day_events.h day/day_events.cpp
    day/day_table.h day/day_table.cpp
    day/azimuth_crossings.h day/azimuth_crossings.cpp
    # The observer: height, air, skyline, and the day for them.
    observer/observer.h observer/observer.cpp
    observer/horizon_profile.h observer/horizon_profile.cpp
    observer/observer_day.h observer/observer_day.cpp
    # The world map: the Sun and the Moon overhead, the shade at a point.
    map/overhead.h map/overhead.cpp
    # Towns by name.
    places/places.h places/places.cpp
    places/places_fold_table.h
    generated/places_fold_table.cpp
    # The number texts and UTF-8.
    text/numtext.h text/numtext.cpp
    text/utf8.h text/utf8.cpp
    # The headers outside code has always included.
    ephemeris.h numtext.h
  )
  list(TRANSFORM files PREPEND ${root}/core/)
  set(${var} ${files} PARENT_SCOPE)
endfunction()
