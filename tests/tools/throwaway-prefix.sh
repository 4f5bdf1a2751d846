#!/bin/sh
# Makes COPY_DIR/prefix a throwaway copy of a build tree's Wine prefix (hard
# links, ~0.1 s) and COPY_DIR/home: throwaway-prefix.sh STATE_DIR COPY_DIR [FILE...]
# Files that Wine rewrites in place must not be shared with the original: the
# registry always, and each FILE named (a path inside the prefix).
set -e
state=$1 copy=$2
shift 2
[ -f "$state/ready" ] || "$(dirname "$0")/../../cmake/wine-prefix.sh" "$state"
rm -rf "$copy"
mkdir -p "$copy/home"
cp -al "$state/prefix" "$copy/prefix"
for f in system.reg user.reg userdef.reg "$@"; do
  rm -f "$copy/prefix/$f"
  cp "$state/prefix/$f" "$copy/prefix/$f"
done
