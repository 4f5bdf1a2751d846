#!/bin/sh
# Runs a Windows program under Wine, in the prefix that belongs to one build
# tree: wine-run.sh STATE_DIR PROGRAM [ARGS...]. The prefix is made on first
# use; HOME points into the state folder too, since a prefix links its user
# folders to HOME.
mkdir -p "$1" && state=$(cd "$1" && pwd) || exit 1
shift
export WINEPREFIX="$state/prefix" HOME="$state/home"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
if [ ! -f "$state/ready" ]; then
  mkdir -p "$state"
  flock "$state/lock" "$(dirname "$0")/wine-prefix.sh" "$state" >&2 || exit 1
fi
# Wine's own helper processes (services, the desktop) start with the first
# program that needs them and inherit its output; they live as long as the
# wineserver does. Going through a file keeps them off the caller's pipe, which
# a test runner waits on until every writer has closed it.
out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
