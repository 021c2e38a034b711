#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Static analysis of core/, cli/ and app/: clang-tidy with the checks of
# .clang-tidy, and cppcheck.  Any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/analyse}
jobs=$(nproc)

# The compilation database, and the moc and resource sources it names.
cmake -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
  -DBUILD_TESTING=OFF -DOSTREL_BUILD_BENCH=OFF > /dev/null
cmake --build "$build" --target ostrel_app -j "$jobs"

echo "clang-tidy: core/, cli/ and app/"
git ls-files 'core/*.cpp' 'cli/*.cpp' 'app/*.cpp' |
  xargs -P "$jobs" -n 1 clang-tidy -p "$build" --quiet 2> /dev/null

echo "cppcheck: core/, cli/ and app/"
cppcheck --error-exitcode=1 --enable=warning,style,performance,portability \
  --std=c++20 --language=c++ --inline-suppr --quiet \
  --suppress=missingIncludeSystem -I . core cli app
echo "static analysis: no findings"
