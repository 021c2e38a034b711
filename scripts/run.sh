#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the build needs and is missing, builds the window and
# ostrel-cli, and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh run
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DOSTREL_BUILD_BENCH=OFF
cmake --build build/release --target ostrel ostrel-cli -j "$(nproc)"
exec build/release/app/ostrel "$@"
