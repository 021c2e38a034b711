#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# deps.sh run|test
#
# Installs the Debian packages that Ostrel needs and this machine lacks:
# `run` what the build of the window and of ostrel-cli needs (scripts/run.sh),
# `test` that and what the tests, the package check, the benchmarks, the
# static analysis and the fuzz targets need (scripts/test.sh).
# Nothing is fetched when everything is already there.
set -euo pipefail

usage() {
  echo "usage: $0 run|test" >&2
  exit 2
}
[ $# -eq 1 ] || usage

run_packages=(
  cmake g++ make          # the build
  qt6-base-dev            # the window (Qt 6 Widgets)
  qt6-svg-dev             # the day and year windows' pictures saved as SVG
  fonts-liberation2       # faces with Cyrillic at the window's pixel sizes
  libcli11-dev            # ostrel-cli: its options
  nlohmann-json3-dev      # ostrel-cli: its JSON output
  liberfa-dev             # the precise theory (ERFA)
  libhowardhinnant-date-dev tzdata  # ostrel-cli: the towns' time zones from the system's tzdata
)
test_packages=(
  libgtest-dev            # unit and window tests
  libbenchmark-dev        # benchmarks
  desktop-file-utils      # desktop-file-validate: the installed desktop entry
  appstream               # appstreamcli: the installed software-centre metadata
  dpkg-dev file           # cpack -G DEB: dpkg-shlibdeps finds the libraries it needs
  lintian                 # the Debian package's checker
  clang libclang-rt-14-dev  # fuzz targets (libFuzzer with the sanitizers)
  clang-tidy cppcheck     # static analysis
  python3-icalendar       # ostrel-cli ics read back by an iCalendar parser
)

case $1 in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) usage ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
