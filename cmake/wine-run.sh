#!/bin/sh
# Runs a Windows program under Wine, in the prefix that belongs to one build
# tree: wine-run.sh STATE_DIR PROGRAM [ARGS...]. The prefix is made on first
# use; HOME points into the state folder too, since a prefix links its user
# folders to HOME. Where this host cannot run the tree's programs it says why
# and exits with 77, which CTest reports as skipped.
cmake_dir=$(cd "$(dirname "$0")" && pwd)
state=$1
. "$cmake_dir/wine-env.sh"
shift
wine_ready
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
# Wine's own helper processes (services, the desktop) start with the first
# program that needs them and inherit its output; they live as long as the
# wineserver does. Going through a file keeps them off the caller's pipe, which
# a test runner waits on until every writer has closed it.
out=$(mktemp)
"$WINE" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
