#!/bin/sh
# Log off, shut down and restart for real: a Wine prefix throwaway copy whose
# wineboot.exe (what Wine's ExitWindowsEx starts) is the marker program, which
# records its command line. The e2e driver runs inside that copy, with its own
# wineserver, so the requests end nothing but the copy.
# session-end.sh STATE_DIR E2E_DRIVER MARKER_EXE
set -e
cmake_dir=$(cd "$(dirname "$0")/../../cmake" && pwd)
state=$1
. "$cmake_dir/wine-env.sh"
wine_ready
driver=$2
marker=$3
copy=$state/throwaway
"$(dirname "$0")/throwaway-prefix.sh" "$state" "$copy"
system32=$copy/prefix/drive_c/windows/system32
rm -f "$system32/wineboot.exe"
cp "$marker" "$system32/wineboot.exe"

export WINEPREFIX="$copy/prefix" HOME="$copy/home" WINEDEBUG=-all
export WINEDLLOVERRIDES="wineboot.exe=n;winemenubuilder.exe=d;mscoree,mshtml="
"$WINESERVER" -p
set +e
out=$(mktemp)
"$WINE" "$driver" --gtest_also_run_disabled_tests --gtest_filter='SessionEnd.*' >"$out" 2>&1 </dev/null
rc=$?
grep -v 'Read access denied' "$out"
rm -f "$out"
"$WINESERVER" -k
rm -rf "$copy"
exit $rc
