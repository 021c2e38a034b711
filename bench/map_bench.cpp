// SPDX-License-Identifier: GPL-3.0-or-later
// The world map: one recompute of its shading at the map window's default
// size (a new moment in either theory: the Sun and the Moon overhead, the
// shade of every pixel and its colour over land or sea), which must stay
// within one frame (16 ms); a new size, which draws the land again before
// the shading; and one redraw of the map with its graticule and marks.
// For the recompute, the land mask of the size is made once before the
// timing, as the window makes it once a size.  Runs on Qt's offscreen
// platform unless QT_QPA_PLATFORM says otherwise.
//
//   build/bench/map_bench --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QImage>

#include "app/world_map.h"

namespace {

const QDateTime kMoment(QDate(2026, 6, 21), QTime(11, 30), Qt::UTC);

void Recompute(benchmark::State &state, ostrel::Theory theory) {
  ostrel::WorldMap map;
  map.resize(ostrel::WorldMap::kDefaultWidth, ostrel::WorldMap::kDefaultHeight);
  map.SetTheory(theory);
  map.showMoment(kMoment);
  int minutes = 0;
  for (auto _ : state) {
    // A new minute each time, as tracking asks once a minute.
    map.showMoment(kMoment.addSecs(60 * ++minutes));
    benchmark::DoNotOptimize(map.shadingRuns());
  }
  state.counters["width"] = map.width();
  state.counters["height"] = map.height();
}

void BM_MapShadingClassic(benchmark::State &state) { Recompute(state, ostrel::Theory::Classic); }
BENCHMARK(BM_MapShadingClassic)->Unit(benchmark::kMillisecond);

void BM_MapShadingPrecise(benchmark::State &state) { Recompute(state, ostrel::Theory::Precise); }
BENCHMARK(BM_MapShadingPrecise)->Unit(benchmark::kMillisecond);

// A new size: the land drawn again into its mask, then the shading.
void BM_MapResize(benchmark::State &state) {
  ostrel::WorldMap map;
  map.showMoment(kMoment);
  map.show(); // a hidden widget is told of its size only when shown
  int step = 0;
  for (auto _ : state) {
    const int width = ostrel::WorldMap::kDefaultWidth + 2 * (++step % 2);
    map.resize(width, width / 2);
    benchmark::DoNotOptimize(map.shadingRuns());
  }
  state.counters["runs"] = map.shadingRuns();
}
BENCHMARK(BM_MapResize)->Unit(benchmark::kMillisecond);

void BM_MapRedraw(benchmark::State &state) {
  ostrel::WorldMap map;
  map.resize(ostrel::WorldMap::kDefaultWidth, ostrel::WorldMap::kDefaultHeight);
  map.SetSite(ostrel::GeoPoint{47, 28.83});
  map.showMoment(kMoment);
  QImage image(map.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    map.render(&image);
    benchmark::DoNotOptimize(image.bits());
  }
}
BENCHMARK(BM_MapRedraw)->Unit(benchmark::kMillisecond);

} // namespace
