// SPDX-License-Identifier: GPL-3.0-or-later
// One redraw of each picture of the day and year windows, at the size the
// README's pictures show them: the aim is well under one frame (16 ms).
// The windows are given a site and date first, so a redraw paints curves
// already computed, as a tick of real-time tracking or a resize does.
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
//
//   build/bench/chart_bench --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <memory>
#include <vector>

#include "app/day_window.h"
#include "app/year_window.h"
#include "core/run/records.h"

namespace {

const ostrel::Site kKishinev{47 * ostrel::kRad, (28 + 50 / 60.0) / 15, 3};
const ostrel::CivilDate kDate{2026, 6, 21};

void Redraw(benchmark::State &state, QWidget *window, const char *chartName) {
  auto *chart = window->findChild<QWidget *>(QString::fromLatin1(chartName));
  if (!chart) {
    state.SkipWithError("no such picture");
    return;
  }
  QImage image(chart->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    chart->render(&image);
    benchmark::DoNotOptimize(image.bits());
  }
  state.counters["width"] = chart->width();
  state.counters["height"] = chart->height();
}

std::unique_ptr<ostrel::DayWindow> DayWindowShown() {
  auto window = std::make_unique<ostrel::DayWindow>();
  window->resize(1000, 640);
  window->show();
  window->ShowDay(kKishinev, kDate, ostrel::FromNorth, 14.5);
  QApplication::processEvents();
  return window;
}

void BM_DayChart(benchmark::State &state) { Redraw(state, DayWindowShown().get(), "DayChart"); }
BENCHMARK(BM_DayChart)->Unit(benchmark::kMillisecond);

void BM_SunPath(benchmark::State &state) { Redraw(state, DayWindowShown().get(), "SunPath"); }
BENCHMARK(BM_SunPath)->Unit(benchmark::kMillisecond);

void BM_YearChart(benchmark::State &state) {
  ostrel::YearWindow window;
  window.resize(1000, 640);
  window.show();
  window.ShowYear(kKishinev, kDate);
  QApplication::processEvents();
  Redraw(state, &window, "YearChart");
}
BENCHMARK(BM_YearChart)->Unit(benchmark::kMillisecond);

// The year's days computed again, as when the window opens or the site or
// the year changes (aim: well under 100 ms, no visible pause).
void BM_YearOfDays(benchmark::State &state) {
  ostrel::YearWindow window;
  int year = 2001;
  for (auto _ : state) {
    window.ShowYear(kKishinev, {year, 6, 21});
    year = year == 2100 ? 2001 : year + 1;
  }
}
BENCHMARK(BM_YearOfDays)->Unit(benchmark::kMillisecond);

// The same for an observer on a 1000 m hill, 800 m above its plain, with a
// skyline of a point a degree (0 to 8 degrees high): each date's horizon
// is scanned for every crossing.
void BM_YearOfDaysForAnObserver(benchmark::State &state) {
  std::vector<ostrel::HorizonPoint> points;
  for (int azimuth = 0; azimuth < 360; ++azimuth)
    points.push_back({double(azimuth), 4 + 4 * std::sin(3 * azimuth * ostrel::kRad)});
  ostrel::ObserverChoice observer;
  observer.on = true;
  observer.observer.elevationM = 1000;
  observer.observer.eyeM = 800;
  observer.horizonFile = QStringLiteral("skyline.txt");
  observer.profile = ostrel::HorizonProfile(std::move(points));
  ostrel::YearWindow window;
  window.SetObserver(observer);
  int year = 2001;
  for (auto _ : state) {
    window.ShowYear(kKishinev, {year, 6, 21});
    year = year == 2100 ? 2001 : year + 1;
  }
}
BENCHMARK(BM_YearOfDaysForAnObserver)->Unit(benchmark::kMillisecond);

} // namespace
