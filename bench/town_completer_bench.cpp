// SPDX-License-Identifier: GPL-3.0-or-later
// One keystroke in the town field: the list of towns searched again for the
// text typed so far, over the whole list (about 26,000 towns), and its rows
// read as the popup draws them.  Short texts that begin many names are the
// slowest ("s", "sa", "san").  Aim: under 1 ms a keystroke.  The list is
// read once, before the timing.  Runs on Qt's offscreen platform unless
// QT_QPA_PLATFORM says otherwise.
//
//   build/bench/town_completer_bench --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "app/main_window.h"
#include "app/town_list.h"
#include "core/places/places.h"

namespace {

void BM_TownListSearch(benchmark::State &state, const char *typed) {
  ostrel::FindPlaces("warm-up"); // the list is read on its first use
  ostrel::TownListModel model;
  const QString text = QString::fromUtf8(typed);
  for (auto _ : state) {
    model.Search(text);
    for (int row = 0; row < model.rowCount(); ++row)
      benchmark::DoNotOptimize(model.index(row).data(Qt::DisplayRole));
  }
  state.counters["rows"] = model.rowCount();
}
BENCHMARK_CAPTURE(BM_TownListSearch, s, "s")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TownListSearch, sa, "sa")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TownListSearch, san, "san")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TownListSearch, san_comma_us, "san, us")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TownListSearch, springfield, "springfield")->Unit(benchmark::kMicrosecond);

// The keystroke as the window takes it: a key press in the town field, the
// search, and the popup's list laid out and shown.  Each iteration types
// "s", "a" and "n" over the field's text: the time is three keystrokes.
void BM_TownFieldThreeKeystrokes(benchmark::State &state) {
  ostrel::MainWindow window(QStringLiteral("/nonexistent-ostrel-dir/ostrel.ini"),
                            [] { return QDateTime(QDate(2026, 6, 21), QTime(12, 0)); });
  window.show();
  QApplication::processEvents();
  auto *town = window.findChild<QLineEdit *>(QStringLiteral("Town"));
  ostrel::FindPlaces("warm-up");
  const auto press = [town](Qt::Key key, const QString &text) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(town, &event);
  };
  for (auto _ : state) {
    town->selectAll();
    press(Qt::Key_S, QStringLiteral("s"));
    press(Qt::Key_A, QStringLiteral("a"));
    press(Qt::Key_N, QStringLiteral("n"));
  }
}
BENCHMARK(BM_TownFieldThreeKeystrokes)->Unit(benchmark::kMicrosecond);

} // namespace
