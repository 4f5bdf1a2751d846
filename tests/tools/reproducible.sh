#!/bin/sh
# Builds Orvalix.exe twice, from two copies of the sources in different
# folders, and compares the bytes: no timestamp and no build path may reach
# the exe. reproducible.sh SOURCE_DIR WORK_DIR x86|x64
set -e
src=$1
work=$2
arch=$3
rm -rf "$work"
for tree in one other-folder; do
  mkdir -p "$work/$tree"
  (cd "$src" && tar cf - CMakeLists.txt CMakePresets.json cmake src res tests) |
    (cd "$work/$tree" && tar xf -)
  cmake --preset "$arch" -S "$work/$tree" -B "$work/$tree/build" -DORVALIX_TESTS=OFF >/dev/null
  cmake --build "$work/$tree/build" --target Orvalix >/dev/null
done
cmp "$work/one/build/Orvalix.exe" "$work/other-folder/build/Orvalix.exe"
echo "identical: $(sha256sum < "$work/one/build/Orvalix.exe" | cut -d' ' -f1)"
rm -rf "$work"
