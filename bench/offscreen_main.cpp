// SPDX-License-Identifier: GPL-3.0-or-later
// The main of the benchmarks of the window's widgets: a QApplication (on
// the offscreen platform unless another is asked for), then the benchmarks.
#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char **argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
