// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the land of the world map that the program builds in,
// app/resources/land.bin, from Natural Earth's 1:50 million land
// (naturalearthdata.com, public domain) as the npm package world-atlas
// gives it in TopoJSON, read with topojson-client.
//
// Run by hand, at development time only, from this folder:
//
//   npm ci && node make-coastlines.mjs
//
// The output is committed; the build and the tests never run this script
// and never download anything.  A second run writes the same file byte for
// byte.
//
// The rings come on the sphere: a few cross the 180th meridian (Chukotka,
// Wrangel Island, Fiji) and Antarctica's goes round the South Pole.  The
// map is a flat rectangle from -180 to 180 degrees, so each ring is first
// unwrapped (its longitudes made continuous), a ring round a pole is
// closed along the map's top or bottom edge, and the ring is then cut to
// the rectangle at its own place and one turn east and west of it.  The
// result fills correctly with the even-odd rule, holes (the Caspian Sea,
// the great lakes) included.
//
// Points are kept to 0.01 degree (about 1 km, a thirtieth of a pixel of
// the map at its default size), and a ring's points that lie within 0.01
// degree of the line through their neighbours are dropped
// (Ramer-Douglas-Peucker).
//
// The file, little-endian:
//   "OLND"                        4 bytes
//   ring count                    uint32
//   then per ring: point count    uint32
//                  the points     int16 longitude, int16 latitude, each in
//                                 hundredths of a degree

import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { feature } from 'topojson-client';

const here = dirname(fileURLToPath(import.meta.url));
const root = join(here, '..', '..');
const atlas = JSON.parse(
  readFileSync(join(here, 'node_modules', 'world-atlas', 'land-50m.json'), 'utf8'));

const kTolerance = 0.01; // degrees
const kUnit = 100;       // points a degree

// Longitudes made continuous along the ring; the whole turns it makes.
function unwrap(ring) {
  const out = [[ring[0][0], ring[0][1]]];
  for (let i = 1; i < ring.length; ++i) {
    let lon = ring[i][0];
    const previous = out[out.length - 1][0];
    while (lon - previous > 180) lon -= 360;
    while (lon - previous < -180) lon += 360;
    out.push([lon, ring[i][1]]);
  }
  return out;
}

// A ring round a pole ends a turn east or west of where it began: closed
// along the pole's edge of the map.
function closeAroundPole(ring) {
  const first = ring[0];
  const last = ring[ring.length - 1];
  if (Math.abs(last[0] - first[0]) < 180)
    return ring;
  const meanLatitude = ring.reduce((sum, p) => sum + p[1], 0) / ring.length;
  const pole = meanLatitude < 0 ? -90 : 90;
  return [...ring, [last[0], pole], [first[0], pole], [first[0], first[1]]];
}

// Sutherland-Hodgman against one vertical line: keeps the side where
// inside(lon) holds.
function clip(ring, inside, edge) {
  const out = [];
  for (let i = 0; i < ring.length; ++i) {
    const a = ring[i];
    const b = ring[(i + 1) % ring.length];
    const aIn = inside(a[0]);
    const bIn = inside(b[0]);
    if (aIn) out.push(a);
    if (aIn !== bIn) {
      const t = (edge - a[0]) / (b[0] - a[0]);
      out.push([edge, a[1] + t * (b[1] - a[1])]);
    }
  }
  return out;
}

function distanceToLine(p, a, b) {
  const dx = b[0] - a[0];
  const dy = b[1] - a[1];
  const length = Math.hypot(dx, dy);
  if (length === 0) return Math.hypot(p[0] - a[0], p[1] - a[1]);
  return Math.abs(dx * (a[1] - p[1]) - dy * (a[0] - p[0])) / length;
}

// Ramer-Douglas-Peucker over an open run of points, without recursion.
function simplify(points) {
  if (points.length < 3) return points;
  const keep = new Uint8Array(points.length);
  keep[0] = keep[points.length - 1] = 1;
  const stack = [[0, points.length - 1]];
  while (stack.length) {
    const [first, last] = stack.pop();
    let farthest = -1;
    let greatest = kTolerance;
    for (let i = first + 1; i < last; ++i) {
      const d = distanceToLine(points[i], points[first], points[last]);
      if (d > greatest) { greatest = d; farthest = i; }
    }
    if (farthest >= 0) {
      keep[farthest] = 1;
      stack.push([first, farthest], [farthest, last]);
    }
  }
  return points.filter((_, i) => keep[i]);
}

// Whole hundredths of a degree, a point repeated once only, the closing
// point (equal to the first) left out.
function quantize(ring) {
  const out = [];
  for (const [lon, lat] of ring) {
    const q = [Math.round(lon * kUnit), Math.round(lat * kUnit)];
    const previous = out[out.length - 1];
    if (!previous || previous[0] !== q[0] || previous[1] !== q[1]) out.push(q);
  }
  while (out.length > 1 && out[0][0] === out[out.length - 1][0] &&
         out[0][1] === out[out.length - 1][1])
    out.pop();
  return out;
}

const land = feature(atlas, atlas.objects.land);
const polygons = land.features.flatMap((f) =>
  f.geometry.type === 'MultiPolygon' ? f.geometry.coordinates : [f.geometry.coordinates]);

const rings = [];
for (const polygon of polygons) {
  for (const sphereRing of polygon) {
    const flat = simplify(closeAroundPole(unwrap(sphereRing)));
    for (const shift of [-360, 0, 360]) {
      let piece = flat.map(([lon, lat]) => [lon + shift, lat]);
      if (piece.every(([lon]) => lon <= -180) || piece.every(([lon]) => lon >= 180))
        continue;
      piece = clip(piece, (lon) => lon >= -180, -180);
      piece = clip(piece, (lon) => lon <= 180, 180);
      const points = quantize(piece);
      if (points.length >= 3) rings.push(points);
    }
  }
}

const pointCount = rings.reduce((sum, ring) => sum + ring.length, 0);
const bytes = Buffer.alloc(8 + 4 * rings.length + 4 * pointCount);
bytes.write('OLND', 0, 'latin1');
bytes.writeUInt32LE(rings.length, 4);
let offset = 8;
for (const ring of rings) {
  bytes.writeUInt32LE(ring.length, offset);
  offset += 4;
  for (const [lon, lat] of ring) {
    bytes.writeInt16LE(lon, offset);
    bytes.writeInt16LE(lat, offset + 2);
    offset += 4;
  }
}
const out = join(root, 'app', 'resources', 'land.bin');
writeFileSync(out, bytes);
console.log(`${out}: ${rings.length} rings, ${pointCount} points, ${bytes.length} bytes`);
