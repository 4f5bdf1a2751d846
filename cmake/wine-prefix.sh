#!/bin/sh
# Makes the Wine prefix of one build tree (about 10 s, once): wine-prefix.sh
# STATE_DIR. Settings that make tests fast and headless-safe go in here.
set -e
cmake_dir=$(cd "$(dirname "$0")" && pwd)
state=$1
. "$cmake_dir/wine-env.sh"
[ -f "$state/ready" ] && exit 0
export WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
rm -rf "$WINEPREFIX"
mkdir -p "$HOME"
"$WINE" wineboot.exe -i >/dev/null 2>&1
# Without a window manager every hidden window costs ~2 s unless Wine manages
# its windows itself.
"$WINE" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# Programs under these names see Windows 98, so the 9x branch runs for real.
for exe in orvalix98.exe version_probe98.exe; do
  "$WINE" reg.exe add "HKCU\\Software\\Wine\\AppDefaults\\$exe" /v Version /d win98 /f >/dev/null 2>&1
done
# The registry files are written when the wineserver ends: a copy of the
# prefix (throwaway-prefix.sh) made before then would miss them.
"$WINESERVER" -w
touch "$state/ready"
