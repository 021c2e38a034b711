#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check-deb.sh BUILD_DIR
#
# Builds the Debian package of BUILD_DIR with `cpack -G DEB` into a
# temporary directory and checks its control fields and contents: the
# name, version, section and maintainer; the libraries found by
# dpkg-shlibdeps and the fonts added by hand in Depends; the same files
# under /usr that the install check expects, nothing more; and, where
# lintian is installed, that lintian finds no error in it (its warnings are
# printed).
set -euo pipefail

build=$1
# The project's version, as the build gave it to CPack.
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[ -n "$version" ] || { echo "FAIL: no CPACK_PACKAGE_VERSION in $build/CPackConfig.cmake"; exit 1; }
id=org.ostrel.Ostrel

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; echo "FAIL: cpack -G DEB"; exit 1; }
deb=$out/ostrel_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$out"; echo "FAIL: no $deb"; exit 1; }

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = ostrel ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Section)" = science ] || fail "Section is '$(field Section)'"
[ "$(field Maintainer)" = "Ostrel developers <developers@ostrel.org>" ] ||
  fail "Maintainer is '$(field Maintainer)'"
depends=$(field Depends)
depended=$(tr ',' '\n' <<<"$depends" | awk '{ print $1 }')
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 fonts-liberation2; do
  grep -qxF "$package" <<<"$depended" || fail "Depends lacks $package: $depends"
done

expected=$(sort <<LIST
usr/bin/ostrel
usr/bin/ostrel-cli
usr/share/applications/$id.desktop
usr/share/doc/ostrel/changelog.gz
usr/share/doc/ostrel/copyright
usr/share/icons/hicolor/128x128/apps/$id.png
usr/share/icons/hicolor/256x256/apps/$id.png
usr/share/icons/hicolor/32x32/apps/$id.png
usr/share/icons/hicolor/64x64/apps/$id.png
usr/share/icons/hicolor/scalable/apps/$id.svg
usr/share/man/man1/ostrel-cli.1.gz
usr/share/man/man1/ostrel.1.gz
usr/share/metainfo/$id.metainfo.xml
LIST
)
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | sed 's|^\./||' | sort)
if [ "$files" != "$expected" ]; then
  fail "package files differ from the expected list:"
  diff <(echo "$expected") <(echo "$files") || true
fi

# Debian's own checks of a package: an error (E:) fails, a warning (W:) is
# shown.  lintian exits 2 when it reports an error (its default --fail-on)
# and 1 when it could not check the package at all.
if command -v lintian >/dev/null; then
  status=0
  report=$(lintian "$deb" 2>"$out/lintian.err") || status=$?
  if [ "$status" -ne 0 ] && [ "$status" -ne 2 ]; then
    cat "$out/lintian.err"
    fail "lintian could not check the package (exit status $status)"
  fi
  grep '^W: ' <<<"$report" || true
  if grep -q '^E: ' <<<"$report"; then
    grep '^E: ' <<<"$report"
    fail "lintian reports errors"
  fi
else
  echo "lintian is not installed (scripts/deps.sh test installs it): the package is not linted"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) of the package failed"
  exit 1
fi
echo "Debian package: $(basename "$deb"), Depends: $depends"
