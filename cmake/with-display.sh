#!/bin/sh
# Runs a command with an X display (Xvfb when there is none) and one
# wineserver for the whole run: with-display.sh STATE_DIR COMMAND [ARGS...].
# The wineserver is the build tree's own and is ended by its prefix, never
# by name.
mkdir -p "$1" && state=$(cd "$1" && pwd) || exit 1
shift
if [ -z "$DISPLAY" ] && [ -z "$ORVALIX_IN_XVFB" ]; then
  ORVALIX_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$state" "$@"
fi
export WINEPREFIX="$state/prefix" HOME="$state/home" WINEDEBUG=-all
[ -f "$state/ready" ] || "$(dirname "$0")/wine-prefix.sh" "$state" || exit 1
wineserver -p >/dev/null 2>&1
"$@"
rc=$?
wineserver -k >/dev/null 2>&1
exit $rc
