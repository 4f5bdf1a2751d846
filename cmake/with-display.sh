#!/bin/sh
# Runs a command with an X display (Xvfb when there is none) and one
# wineserver for the whole run: with-display.sh STATE_DIR COMMAND [ARGS...].
# The wineserver is the build tree's own and is ended by its prefix, never
# by name. Where this host cannot run the tree's programs, the command runs
# without Wine (its Wine tests say why and count as skipped).
cmake_dir=$(cd "$(dirname "$0")" && pwd)
if [ -z "$DISPLAY" ] && [ -z "$ORVALIX_IN_XVFB" ]; then
  ORVALIX_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
state=$1
. "$cmake_dir/wine-env.sh"
shift
[ -n "$wine_skip" ] && exec "$@"
export WINEDEBUG=-all
[ -f "$state/ready" ] || "$cmake_dir/wine-prefix.sh" "$state" || exit 1
"$WINESERVER" -p >/dev/null 2>&1
"$@"
rc=$?
"$WINESERVER" -k >/dev/null 2>&1
exit $rc
