#!/usr/bin/env bash
# Installs the Debian packages that Ostrel needs and this machine lacks.
# Nothing is fetched when everything is already there.
set -euo pipefail

packages=(
  cmake g++ make          # the build
  qt6-base-dev            # the window (Qt 6 Widgets)
  fonts-liberation2       # faces with Cyrillic at the window's pixel sizes
  libgtest-dev            # unit and window tests
  libbenchmark-dev        # benchmarks
  desktop-file-utils      # desktop-file-validate: the installed desktop entry
  appstream               # appstreamcli: the installed software-centre metadata
  dpkg-dev file           # cpack -G DEB: dpkg-shlibdeps finds the libraries it needs
  clang libclang-rt-14-dev  # fuzz targets (libFuzzer with the sanitizers)
  clang-tidy cppcheck     # static analysis
)

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
