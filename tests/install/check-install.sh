#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check-install.sh CMAKE BUILD_DIR SOURCE_DIR VERSION
#
# Installs the build into a new temporary prefix and checks what a Linux
# desktop looks for there: the window and ostrel-cli in bin/, their manual
# pages, the desktop entry, the icon in the theme sizes and as SVG, and the
# AppStream metadata, each accepted by its validator; the copyright and
# changelog that Debian keeps for a package; and that nothing else is
# installed (no static library, test or tool).  Exits 77 when a validator
# is not installed.
set -euo pipefail

cmake=$1 build=$2 source=$3 version=$4
id=org.ostrel.Ostrel

for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (scripts/deps.sh test installs it)"
    exit 77
  fi
done

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Exactly these files: a target installed by accident shows as extra.
expected=$(sort <<LIST
bin/ostrel
bin/ostrel-cli
share/applications/$id.desktop
share/doc/ostrel/changelog.gz
share/doc/ostrel/copyright
share/icons/hicolor/128x128/apps/$id.png
share/icons/hicolor/256x256/apps/$id.png
share/icons/hicolor/32x32/apps/$id.png
share/icons/hicolor/64x64/apps/$id.png
share/icons/hicolor/scalable/apps/$id.svg
share/man/man1/ostrel-cli.1.gz
share/man/man1/ostrel.1.gz
share/metainfo/$id.metainfo.xml
LIST
)
installed=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort)
if [ "$installed" != "$expected" ]; then
  fail "installed files differ from the expected list:"
  diff <(echo "$expected") <(echo "$installed") || true
fi

for program in ostrel ostrel-cli; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
done

# The compressed files carry no name and no time (gzip -n): the FLG byte
# has no FNAME bit (8) and the four MTIME bytes are zero, so that every
# build of the same source installs the same bytes.
for file in share/man/man1/ostrel.1.gz share/man/man1/ostrel-cli.1.gz share/doc/ostrel/changelog.gz; do
  [ -f "$prefix/$file" ] || continue
  gzip -t "$prefix/$file" 2>/dev/null || { fail "$file is not gzip data"; continue; }
  read -r flags mtime <<<"$(od -An -tu1 -j3 -N5 "$prefix/$file" |
    awk '{ print $1, $2 + $3 + $4 + $5 }')"
  [ $((flags & 8)) -eq 0 ] || fail "$file keeps the name of the file it was made from"
  [ "$mtime" -eq 0 ] || fail "$file keeps a modification time"
done

# Each page renders without a warning from groff (through man-db), on a
# terminal of plain ASCII as on a UTF-8 one, and, where mandoc is
# installed, without a lint message of mandoc's.
for page in ostrel ostrel-cli; do
  file=$prefix/share/man/man1/$page.1.gz
  [ -f "$file" ] || continue
  # The page documents the program it is installed for.
  title=$(zcat "$file" | sed -n 's/^\.TH \([^ ]*\) 1 .*/\1/p' | sed 's/\\-/-/g' | tr 'A-Z' 'a-z')
  [ "$title" = "$page" ] || fail "$page.1.gz is the section 1 page of '$title'"
  if command -v man >/dev/null; then
    for locale in C C.UTF-8; do
      if ! warnings=$(LC_ALL=$locale MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null); then
        fail "man cannot render $page.1.gz ($locale): $warnings"
      elif [ -n "$warnings" ]; then
        fail "man warns of $page.1.gz ($locale): $warnings"
      fi
    done
  fi
  if command -v mandoc >/dev/null; then
    lint=$(zcat "$file" | mandoc -Tlint 2>&1) ||
      fail "mandoc -Tlint on $page.1.gz: $lint"
  fi
done

# The newest changelog entry is the version being built, as for the
# metadata below, and the copyright names the licence the metadata names.
changelog=$prefix/share/doc/ostrel/changelog.gz
if [ -f "$changelog" ]; then
  newest=$(zcat "$changelog" | sed -n '1s/^ostrel (\([^)]*\)) .*/\1/p')
  [ "$newest" = "$version" ] || fail "newest changelog entry is '$newest', the project is $version"
fi
copyright=$prefix/share/doc/ostrel/copyright
metainfo=$prefix/share/metainfo/$id.metainfo.xml
if [ -f "$copyright" ] && [ -f "$metainfo" ]; then
  # The licence of "Files: *", the paragraph that covers the programs.
  licence=$(awk '/^Files: \*$/ { files = 1; next } files && /^License:/ { print $2; exit }' "$copyright")
  project=$(sed -n 's|.*<project_license>\(.*\)</project_license>.*|\1|p' "$metainfo")
  [ -n "$licence" ] && [ "$licence" = "$project" ] ||
    fail "the copyright's licence of the programs is '$licence', the metadata's '$project'"
  grep -q '/usr/share/common-licenses/GPL-3' "$copyright" ||
    fail "the copyright does not point to /usr/share/common-licenses/GPL-3"
fi

# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() {
  od -An -tu1 -j16 -N8 "$1" |
    awk '{ printf "%dx%d", (($1*256+$2)*256+$3)*256+$4, (($5*256+$6)*256+$7)*256+$8 }'
}
for size in 32x32 64x64 128x128 256x256; do
  icon=$prefix/share/icons/hicolor/$size/apps/$id.png
  [ -f "$icon" ] || continue
  [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    fail "$size icon is not a PNG"
  actual=$(png_size "$icon")
  [ "$actual" = "$size" ] || fail "$size icon is $actual pixels"
done
svg=$prefix/share/icons/hicolor/scalable/apps/$id.svg
if [ -f "$svg" ] && ! cmp -s "$svg" "$source/packaging/$id.svg"; then
  fail "the scalable icon is not the drawing of packaging/$id.svg"
fi

desktop=$prefix/share/applications/$id.desktop
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate refused $id.desktop"
  # The launcher must name the installed program and the installed icon.
  for line in "Exec=ostrel" "Icon=$id" "Name=Ostrel" "Terminal=false" \
    "Categories=Education;Science;Astronomy;"; do
    grep -qx "$line" "$desktop" || fail "$id.desktop lacks the line $line"
  done
fi

metainfo=$prefix/share/metainfo/$id.metainfo.xml
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refused $id.metainfo.xml"
  grep -q "<id>$id</id>" "$metainfo" || fail "metadata id is not $id"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metadata does not launch $id.desktop"
  # The newest release comes first and is the version being built.
  newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
  [ "$newest" = "$version" ] || fail "newest release in the metadata is '$newest', the project is $version"
  # The tree as a software centre indexes it: metadata, launcher and icon.
  appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli validate-tree refused the tree"
fi

# With a publishing address the metadata names both pictures and still
# validates; an address that is not https is refused at configure time.
with_screenshots=$prefix/with-screenshots.metainfo.xml
"$cmake" -DIN="$source/packaging/$id.metainfo.xml.in" -DOUT="$with_screenshots" \
  -DBASE_URL=https://pictures.invalid/ostrel/ -P "$source/packaging/metainfo.cmake"
for picture in window-english.png window-russian.png; do
  grep -q "<image type=\"source\">https://pictures.invalid/ostrel/$picture</image>" \
    "$with_screenshots" || fail "metadata with an address lacks $picture"
done
appstreamcli validate --no-net "$with_screenshots" || fail "appstreamcli refused the metadata with screenshots"
if "$cmake" -DIN="$source/packaging/$id.metainfo.xml.in" -DOUT="$prefix/plain.xml" \
  -DBASE_URL=http://pictures.invalid -P "$source/packaging/metainfo.cmake" 2>/dev/null; then
  fail "a plain http screenshot address was accepted"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "install tree: every file in place and valid"
