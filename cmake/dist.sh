#!/bin/sh
# make dist: dist/Orvalix-VERSION.zip with the exe, the text files a Windows
# user reads (CR LF), the files that set and undo the shell, and SHA256SUMS;
# beside it the zip's own checksum. Fixed file times and order, so the same
# exe gives the same zip.
set -e
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Orvalix VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name=Orvalix-$version
stage=$build/dist-stage/$name
rm -rf "$build/dist-stage"
mkdir -p "$stage" "$root/dist"
cp "$build/Orvalix.exe" "$stage/Orvalix.exe"
crlf() { sed 's/\r*$/\r/' "$1" > "$stage/$2"; }
crlf "$root/res/README.txt" README.txt
crlf "$root/LICENSE" LICENSE.txt
crlf "$root/CHANGELOG.md" CHANGELOG.txt
for f in "$root"/res/shell/*; do crlf "$f" "$(basename "$f")"; done
files=$(cd "$stage" && LC_ALL=C ls)
(cd "$stage" && sha256sum $files | sed 's/$/\r/' > SHA256SUMS)
touch -d '2026-01-01 00:00:00 UTC' "$stage" "$stage"/*
zip=$root/dist/$name.zip
rm -f "$zip"
(cd "$build/dist-stage" && for f in $files SHA256SUMS; do echo "$name/$f"; done |
  TZ=UTC zip -X -q -D "$zip" -@)
(cd "$root/dist" && sha256sum "$name.zip" > "$name.zip.sha256")
echo "dist/$name.zip: $(echo $files SHA256SUMS | wc -w) files, sha256 $(cut -d' ' -f1 "$zip.sha256")"
