#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: once in
# an optimised build with warnings as errors, once under AddressSanitizer
# and UndefinedBehaviorSanitizer, then the benchmarks briefly, so that they
# are known to run.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_WERROR=ON
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs"
# The Debian package of the same build, its control fields and contents.
tests/install/check-deb.sh build/test

build/test/bench/ephemeris_bench --benchmark_min_time=0.05

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DOSTREL_SANITIZE=ON \
  -DOSTREL_BUILD_BENCH=OFF -DOSTREL_WERROR=ON
cmake --build build/sanitize -j "$jobs"
ctest --test-dir build/sanitize --output-on-failure -j "$jobs"
