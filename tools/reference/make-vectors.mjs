// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the reference vectors of the Sun that ostrel_accuracy and the
// core's accuracy tests read: tests/data/sun-places.csv and
// tests/data/sun-days.csv, from astronomy-engine (npm, MIT licence; the
// exact version is pinned in package.json and package-lock.json).
//
// Run by hand, at development time only, from this folder:
//
//   npm ci && node make-vectors.mjs
//
// The output is committed; the build and the tests never run this script
// and never download anything.  The moments come from a fixed seed, so a
// second run writes the same files byte for byte.
//
// astronomy-engine takes its times as UT (days from J2000.0 UT) and turns
// them into TT with its own Delta T, by default DeltaT_EspenakMeeus: the
// polynomials of Espenak and Meeus (NASA/TP-2006-214141), the model the
// precise theory uses too.  Its year for the polynomials is counted from
// 2000 January 15 in tropical years, ours from J2000.0 in Julian years; the
// two differ by at most 0.045 year, 0.1 s of Delta T (0.004" of the Sun)
// over 1700 to 2100.
import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import * as Astronomy from 'astronomy-engine';

const here = dirname(fileURLToPath(import.meta.url));
const outputDir = join(here, '..', '..', 'tests', 'data');
const version = JSON.parse(readFileSync(
  join(here, 'node_modules', 'astronomy-engine', 'package.json'), 'utf8')).version;

// Sites: latitude and longitude in degrees (north and east positive),
// standard time zone in hours east of Greenwich.  Latitudes up to 65
// degrees either side, every quarter of the globe, zones -12 to +12 with a
// half hour among them, and sites far from their zone's meridian.
const sites = [
  [0.0, -78.5, -5],      // equator, west
  [47.0, 28.83, 2],      // the window's reference site
  [51.48, 0.0, 0],       // prime meridian
  [40.71, -74.01, -5],
  [35.68, 139.69, 9],
  [-33.87, 151.21, 10],
  [-34.6, -58.38, -3],
  [1.29, 103.85, 8],     // zone far east of the site
  [-23.55, -46.63, -3],  // on the southern tropic
  [19.43, -99.13, -6],
  [29.0, -81.0, -5],     // the site of the Horizons table
  [28.61, 77.21, 5.5],   // half-hour zone
  [55.75, 37.62, 3],
  [60.17, 24.94, 2],
  [-45.87, 170.5, 12],   // zone +12
  [0.19, -176.48, -12],  // zone -12
  [21.31, -157.86, -10],
  [64.84, -147.72, -9],  // near the polar circle, far west
  [65.0, -18.0, 0],
  [-54.8, -68.3, -3],
  [-65.0, 140.0, 10],
  [-62.2, -58.9, -4],
];

// A small deterministic generator (mulberry32), so that the files do not
// change from one run to the next.
function generator(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// A local civil date from 1700-01-01 to 2100-12-31, uniformly by day.
function randomDate(random) {
  const first = Date.UTC(1700, 0, 1) / 86400000;
  const last = Date.UTC(2100, 11, 31) / 86400000;
  const day = first + Math.floor(random() * (last - first + 1));
  const d = new Date(day * 86400000);
  return [d.getUTCFullYear(), d.getUTCMonth() + 1, d.getUTCDate()];
}

// Days from J2000.0 (2000-01-01 12:00 UT) to 0 h UT of a civil date.
function utOfDate(year, month, day) {
  const d = new Date(0);
  d.setUTCFullYear(year, month - 1, day);
  d.setUTCHours(0, 0, 0, 0);
  return d.getTime() / 86400000 - 10957.5;
}

const fixed = (x, digits) => x.toFixed(digits);

function places(count) {
  const random = generator(20240101);
  const lines = [
    `# The Sun at ${count} moments from 1700 to 2100, by astronomy-engine ${version}`,
    '# (made by tools/reference/make-vectors.mjs; do not edit).',
    '# lat, lon: degrees, north and east positive; zone: hours, local = UT + zone;',
    '# year, month, day, seconds: the local civil date and the seconds after its',
    '# local midnight.  ra_h, dec_deg: apparent topocentric right ascension (hours)',
    '# and declination (degrees) of the true equator and equinox of date',
    '# (Equator, ofdate and aberration, from the observer at sea level);',
    '# alt_deg, az_deg: true altitude and azimuth from north through east',
    '# (Horizon without refraction); gast_h: Greenwich apparent sidereal time,',
    '# hours (SiderealTime); elon_deg: apparent geocentric ecliptic longitude of',
    '# date (SunPosition); dist_au: the true geometric Earth-Sun distance',
    '# (HelioVector of the Earth, no light time).',
    'lat,lon,zone,year,month,day,seconds,ra_h,dec_deg,alt_deg,az_deg,gast_h,elon_deg,dist_au',
  ];
  for (let i = 0; i < count; ++i) {
    const [lat, lon, zone] = sites[i % sites.length];
    const [year, month, day] = randomDate(random);
    const seconds = Math.floor(random() * 86400);
    const ut = utOfDate(year, month, day) + (seconds - zone * 3600) / 86400;
    const time = Astronomy.MakeTime(ut);
    const observer = new Astronomy.Observer(lat, lon, 0);
    const equator = Astronomy.Equator(Astronomy.Body.Sun, time, observer, true, true);
    const horizon = Astronomy.Horizon(time, observer, equator.ra, equator.dec);
    const gast = Astronomy.SiderealTime(time);
    const ecliptic = Astronomy.SunPosition(time);
    const distance = Astronomy.HelioVector(Astronomy.Body.Earth, time).Length();
    lines.push([lat, lon, zone, year, month, day, seconds, fixed(equator.ra, 9),
      fixed(equator.dec, 8), fixed(horizon.altitude, 8), fixed(horizon.azimuth, 8),
      fixed(gast, 9), fixed(ecliptic.elon, 8), fixed(distance, 10)].join(','));
  }
  return lines.join('\n') + '\n';
}

function days(count) {
  const random = generator(20240202);
  const lines = [
    `# The Sun's events on ${count} local dates from 1700 to 2100, by astronomy-engine ${version}`,
    '# (made by tools/reference/make-vectors.mjs; do not edit).',
    '# lat, lon, zone, year, month, day: the site and the local civil date as in',
    '# sun-places.csv.  Each event is the first of its kind after local midnight',
    '# within one day, in seconds after local midnight; empty when there is none',
    '# on the date.  rise, set: the upper limb at the horizon with 34\' of',
    '# refraction (SearchRiseSet); culm: the upper meridian passage',
    '# (SearchHourAngle 0); civil/nautical/astro dawn and dusk: the centre\'s true',
    '# altitude at -6, -12, -18 degrees rising and setting (SearchAltitude).',
    '# eot_min: the equation of time, minutes: the Sun\'s hour angle (apparent,',
    '# topocentric) at local mean noon, UT 12 h - lon / 15 of the date, in -720..720.',
    'lat,lon,zone,year,month,day,rise,set,culm,civil_dawn,civil_dusk,nautical_dawn,' +
      'nautical_dusk,astro_dawn,astro_dusk,eot_min',
  ];
  const Sun = Astronomy.Body.Sun;
  for (let i = 0; i < count; ++i) {
    const [lat, lon, zone] = sites[i % sites.length];
    const [year, month, day] = randomDate(random);
    const day0 = utOfDate(year, month, day);
    const midnight = Astronomy.MakeTime(day0 - zone / 24);
    const observer = new Astronomy.Observer(lat, lon, 0);
    const after = (time) => {
      if (!time) return '';
      const seconds = (time.ut - midnight.ut) * 86400;
      return seconds >= 0 && seconds < 86400 ? fixed(seconds, 2) : '';
    };
    const level = (direction, altitude) =>
      after(Astronomy.SearchAltitude(Sun, observer, direction, midnight, 1, altitude));
    const culmination = Astronomy.SearchHourAngle(Sun, observer, 0, midnight, +1);
    let hourAngle = Astronomy.HourAngle(Sun, Astronomy.MakeTime(day0 + (12 - lon / 15) / 24),
      observer);
    if (hourAngle > 12) hourAngle -= 24;
    lines.push([lat, lon, zone, year, month, day,
      after(Astronomy.SearchRiseSet(Sun, observer, +1, midnight, 1)),
      after(Astronomy.SearchRiseSet(Sun, observer, -1, midnight, 1)),
      after(culmination.time),
      level(+1, -6), level(-1, -6), level(+1, -12), level(-1, -12),
      level(+1, -18), level(-1, -18), fixed(hourAngle * 60, 4)].join(','));
  }
  return lines.join('\n') + '\n';
}

writeFileSync(join(outputDir, 'sun-places.csv'), places(2000));
writeFileSync(join(outputDir, 'sun-days.csv'), days(1320));
