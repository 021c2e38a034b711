#!/usr/bin/env bash
# Installs what is missing, builds Ostrel and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DOSTREL_BUILD_BENCH=OFF
cmake --build build/release --target ostrel -j "$(nproc)"
exec build/release/app/ostrel "$@"
