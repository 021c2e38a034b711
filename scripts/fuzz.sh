#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for a bounded time on a copy of
# its seed corpus, so that the committed corpus does not grow.  Fails when
# a target crashes or finds a broken property; the input is kept as
# build/fuzz/<target>-crash-*.
#
#   scripts/fuzz.sh [SECONDS]    SECONDS per target, default
#                                $OSTREL_FUZZ_SECONDS or 60
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-${OSTREL_FUZZ_SECONDS:-60}}
targets=(field_parse settings_reader maincalc cli_arguments horizon_profile)

command -v clang++ >/dev/null || { echo "clang++ is missing (scripts/deps.sh test installs it)" >&2; exit 1; }
cmake -S fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++
cmake --build build/fuzz -j "$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=()
for target in "${targets[@]}"; do
  mkdir "$work/$target"
  cp -R "fuzz/corpus/$target/." "$work/$target/"
  log="build/fuzz/$target.log"
  echo "== $target: ${seconds} s"
  # -timeout: one input running for 10 s counts as a hang.
  if build/fuzz/"${target}_fuzzer" -max_total_time="$seconds" -timeout=10 \
      -print_final_stats=1 -artifact_prefix="build/fuzz/$target-" "$work/$target" \
      >"$log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec)' "$log" || true
    grep -E '#[0-9]+[[:space:]]+DONE' "$log" || true
  else
    failed+=("$target")
    tail -n 40 "$log"
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing failed: ${failed[*]} (inputs in build/fuzz/<target>-*, logs in build/fuzz/<target>.log)" >&2
  exit 1
fi
echo "fuzzing passed: ${targets[*]}, ${seconds} s each"
