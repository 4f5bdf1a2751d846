#!/bin/sh
# make dist: dist/Orvalix-1.1.3.zip with the exe, README.txt and SHA256SUMS.
# Fixed file times and order, so the same exe gives the same zip.
set -e
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
stage=$build/dist-stage/Orvalix-1.1.3
rm -rf "$build/dist-stage"
mkdir -p "$stage" "$root/dist"
cp "$build/Orvalix.exe" "$stage/Orvalix.exe"
sed 's/$/\r/' "$root/res/README.txt" > "$stage/README.txt"
(cd "$stage" && sha256sum Orvalix.exe README.txt > SHA256SUMS)
touch -d '2026-01-01 00:00:00 UTC' "$stage" "$stage"/*
rm -f "$root/dist/Orvalix-1.1.3.zip"
(cd "$build/dist-stage" && TZ=UTC zip -X -q -D "$root/dist/Orvalix-1.1.3.zip" \
  Orvalix-1.1.3/Orvalix.exe Orvalix-1.1.3/README.txt Orvalix-1.1.3/SHA256SUMS)
echo "dist/Orvalix-1.1.3.zip:"
cat "$stage/SHA256SUMS"
