#!/bin/sh
# make dist: dist/Orvalix-VERSION.zip with a folder per build, x86\ and x64\,
# each a complete install (its Orvalix.exe and the small files that run its
# shell command: res/shell/ in both, res/shell/ARCH/ in its own), the text files a
# Windows user reads (CR LF) at the top, and SHA256SUMS over everything;
# beside it the zip's own checksum. Fixed file times and order, so the same
# exes give the same zip. dist.sh BUILD_DIR (the exes in BUILD_DIR/x86, /x64)
set -e
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Orvalix VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name=Orvalix-$version
stage=$build/dist-stage/$name
rm -rf "$build/dist-stage"
mkdir -p "$stage" "$root/dist"
crlf() { sed 's/\r*$/\r/' "$1" > "$stage/$2"; }
crlf "$root/res/README.txt" README.txt
crlf "$root/LICENSE" LICENSE.txt
crlf "$root/CHANGELOG.md" CHANGELOG.txt
for arch in x86 x64; do
  mkdir "$stage/$arch"
  cp "$build/$arch/Orvalix.exe" "$stage/$arch/Orvalix.exe"
  for f in "$root"/res/shell/* "$root"/res/shell/$arch/*; do
    [ -f "$f" ] && crlf "$f" "$arch/$(basename "$f")"
  done
done
files=$(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
(cd "$stage" && sha256sum $files | sed 's/$/\r/' > SHA256SUMS)
find "$stage" -exec touch -d '2026-01-01 00:00:00 UTC' {} +
zip=$root/dist/$name.zip
rm -f "$zip"
(cd "$build/dist-stage" && for f in $files SHA256SUMS; do echo "$name/$f"; done |
  TZ=UTC zip -X -q -D "$zip" -@)
(cd "$root/dist" && sha256sum "$name.zip" > "$name.zip.sha256")
echo "dist/$name.zip: $(echo $files SHA256SUMS | wc -w) files, sha256 $(cut -d' ' -f1 "$zip.sha256")"
