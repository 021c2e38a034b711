#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything and runs every test: once in
# an optimised build with warnings as errors; the Debian package; the
# benchmarks briefly, so that they are known to run; static analysis; the
# fuzz targets for a minute each; and every test again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh test
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_WERROR=ON
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs"
# The Debian package of the same build, its control fields and contents.
tests/install/check-deb.sh build/test

build/test/bench/ephemeris_bench --benchmark_min_time=0.05
build/test/bench/cli_table_bench
build/test/bench/chart_bench --benchmark_min_time=0.05
build/test/bench/map_bench --benchmark_min_time=0.05
build/test/bench/town_completer_bench --benchmark_min_time=0.05
build/test/bench/moon_bench --benchmark_min_time=0.05
build/test/bench/seasons_bench --benchmark_min_time=0.05
build/test/bench/events_bench --benchmark_min_time=0.05
build/test/bench/observer_bench --benchmark_min_time=0.05
# The peer library's benchmark is built only where its sources lie beside
# the clone; --compare fails when sunrise or sunset (or moonrise, moonset
# and the Moon's transit) differ by over 2 min.
if [ -x build/test/bench/peer_day_bench ]; then
  build/test/bench/peer_day_bench --compare > /dev/null
  build/test/bench/peer_day_bench --benchmark_min_time=0.05
  build/test/bench/peer_table_bench
  build/test/bench/peer_moon_bench --compare > /dev/null
  build/test/bench/peer_moon_bench --benchmark_min_time=0.05
fi

./scripts/analyse.sh build/analyse
# Each fuzz target for a bounded time on a copy of its seed corpus.
./scripts/fuzz.sh "${OSTREL_FUZZ_SECONDS:-60}"

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DOSTREL_SANITIZE=ON \
  -DOSTREL_BUILD_BENCH=OFF -DOSTREL_WERROR=ON
cmake --build build/sanitize -j "$jobs"
ctest --test-dir build/sanitize --output-on-failure -j "$jobs"
