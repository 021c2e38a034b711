// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the Moon's reference tables that ostrel_accuracy and the core's
// accuracy tests read: tests/data/moon-places.csv, moon-riseset.csv and
// moon-quarters.csv.  They are published tables, copied as they are into
// a compact form; nothing here computes the Moon.  The tables are kept in
// astronomy-engine's public repository (github.com/cosinekitty/astronomy,
// MIT licence), folder generate/:
//
//   horizons/airless_Moon.txt   JPL Horizons (DE431mx), the Moon from
//                               29 N 279 E, 10 m, every 10 days at 0 h UT,
//                               1900-2100, without refraction
//   riseset/riseset.txt         the U.S. Naval Observatory's moonrise and
//                               moonset tables (RS_OneYear), UT to the minute
//   moonphase/moonphases.txt    the U.S. Naval Observatory's phases of the
//                               Moon, UT to the minute, every tenth year
//                               1800-2100
//
// Run by hand, at development time only, from this folder, given a clone of
// that repository:
//
//   node extract-moon-tables.mjs /path/to/astronomy [commit]
//
// The output is committed; the build and the tests never run this script
// and never download anything.
import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const outputDir = join(here, '..', '..', 'tests', 'data');
const [source, commit = 'unknown'] = process.argv.slice(2);
if (!source) {
  console.error('usage: node extract-moon-tables.mjs /path/to/astronomy [commit]');
  process.exit(2);
}
const read = (path) => readFileSync(join(source, 'generate', path), 'utf8');
const origin = (path) =>
  `# (github.com/cosinekitty/astronomy, generate/${path}, commit ${commit}),`;
const months = ['Jan', 'Feb', 'Mar', 'Apr', 'May', 'Jun', 'Jul', 'Aug', 'Sep', 'Oct', 'Nov',
  'Dec'];

// Horizons: the rows between $$SOE and $$EOE, "YYYY-Mon-DD HH:MM", the
// marks of the Sun and the Moon when there are any (letters and *), then
// six numbers; the four of the two places are kept as written.
function places() {
  const path = 'horizons/airless_Moon.txt';
  const lines = [
    '# The Moon from 29 N 279 E (10 m above the ellipsoid) every 10 days at 0 h,',
    '# 1900-2100, by JPL Horizons (DE431mx, ephemeris of 2019 April 12), as kept',
    '# in astronomy-engine\'s repository',
    origin(path),
    '# extracted by tools/reference/extract-moon-tables.mjs; do not edit.',
    '# year..minute: the time as Horizons gives it, UT1 before 1962 and UTC from',
    '# then (TT - UTC = 32.184 s + TAI - UTC, held at 69.184 s after 2017).',
    '# ra_icrf_deg, dec_icrf_deg: astrometric topocentric right ascension and',
    '# declination, ICRF, light time; ra_app_deg, dec_app_deg: airless apparent',
    '# topocentric, true equator and equinox of date; degrees.',
    'year,month,day,hour,minute,ra_icrf_deg,dec_icrf_deg,ra_app_deg,dec_app_deg',
  ];
  let inTable = false;
  for (const line of read(path).split('\n')) {
    if (line.startsWith('$$SOE')) { inTable = true; continue; }
    if (line.startsWith('$$EOE')) break;
    if (!inTable) continue;
    const m = line.match(/^\s*(\d{4})-(\w{3})-(\d{2}) (\d{2}):(\d{2})\s+(?:[A-Za-z*]+\s+)?(-?[\d.]+)\s+(-?[\d.]+)\s+(-?[\d.]+)\s+(-?[\d.]+)\s+-?[\d.]+\s+-?[\d.]+\s*$/);
    if (!m) throw new Error(`unread Horizons row: ${line}`);
    lines.push([m[1], months.indexOf(m[2]) + 1, +m[3], +m[4], +m[5], m[6], m[7], m[8], m[9]]
      .join(','));
  }
  return lines;
}

// USNO rise and set: "Moon  lon lat YYYY-MM-DDTHH:MMZ r|s".
function riseSet() {
  const path = 'riseset/riseset.txt';
  const lines = [
    '# The U.S. Naval Observatory\'s moonrise and moonset tables (one year at each',
    '# site: 2019 at 29 N 81 W, 2050 at 45 S 150 E, 1944 at 61 S 103 E, and',
    '# 2022-2037 at 80 to 85 N), UT rounded to the minute, as kept in',
    '# astronomy-engine\'s repository',
    origin(path),
    '# extracted by tools/reference/extract-moon-tables.mjs; do not edit.',
    '# lat, lon: degrees, north and east positive; event: r moonrise, s moonset',
    '# (the upper limb on the horizon, 34\' of refraction); year..minute: UT.',
    'lat,lon,event,year,month,day,hour,minute',
  ];
  for (const line of read(path).split('\n')) {
    const m = line.match(/^Moon\s+(-?\d+)\s+(-?\d+)\s+(\d{4})-(\d{2})-(\d{2})T(\d{2}):(\d{2})Z\s+([rs])\s*$/);
    if (!m) continue;
    lines.push([m[2], m[1], m[8], +m[3], +m[4], +m[5], +m[6], +m[7]].join(','));
  }
  return lines;
}

// USNO phases: "Q YYYY-MM-DDTHH:MM:00.000Z".
function quarters() {
  const path = 'moonphase/moonphases.txt';
  const lines = [
    '# The U.S. Naval Observatory\'s phases of the Moon, every tenth year from 1800',
    '# to 2100, UT rounded to the minute, as kept in astronomy-engine\'s repository',
    origin(path),
    '# extracted by tools/reference/extract-moon-tables.mjs; do not edit.',
    '# quarter: 0 new moon, 1 first quarter, 2 full moon, 3 last quarter.',
    'quarter,year,month,day,hour,minute',
  ];
  for (const line of read(path).split('\n')) {
    const m = line.match(/^([0-3]) (\d{4})-(\d{2})-(\d{2})T(\d{2}):(\d{2}):00\.000Z\s*$/);
    if (!m) {
      if (line.trim()) throw new Error(`unread phase row: ${line}`);
      continue;
    }
    lines.push([m[1], +m[2], +m[3], +m[4], +m[5], +m[6]].join(','));
  }
  return lines;
}

for (const [name, lines] of [['moon-places.csv', places()], ['moon-riseset.csv', riseSet()],
  ['moon-quarters.csv', quarters()]]) {
  writeFileSync(join(outputDir, name), lines.join('\n') + '\n');
}
