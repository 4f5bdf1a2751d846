#!/bin/sh
# Runs end-to-end tests that change what the whole prefix shares (a session
# end, the registry, SYSTEM.INI) in a throwaway copy of a build tree's Wine
# prefix with a wineserver of its own, so that nothing reaches the prefix the
# other tests use:
#   in-throwaway-prefix.sh [--wineboot EXE] [--x86-exe EXE] STATE_DIR DRIVER FILTER
# --wineboot: EXE stands in for wineboot.exe, which Wine's ExitWindowsEx
# starts (the requests then end nothing but the copy). --x86-exe: the rows
# that run the 32-bit exe under WOW64 in the 64-bit prefix; they are skipped
# (77) where the prefix has no 32-bit side or the host runs no 32-bit code.
set -e
wineboot="" x86=""
while :; do
  case $1 in
    --wineboot) wineboot=$2; shift 2 ;;
    --x86-exe) x86=$2; shift 2 ;;
    *) break ;;
  esac
done
cmake_dir=$(cd "$(dirname "$0")/../../cmake" && pwd)
state=$1 driver=$2 filter=$3
. "$cmake_dir/wine-env.sh"
wine_ready
if [ -n "$x86" ]; then
  skip=""
  [ -f "$x86" ] || skip="the x86 build ($x86) is not there"
  [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] && [ -x /usr/lib/wine/wine ] ||
    skip="the prefix has no 32-bit side (32-bit Wine, wine32, was missing when it was made, or is now)"
  sh "$cmake_dir/host-runs-x86.sh" || skip="this host runs no 32-bit x86 code"
  if [ -n "$skip" ]; then
    echo "skipped: $skip"
    exit 77
  fi
  export ORVALIX_X86_EXE="Z:$(echo "$x86" | tr / '\\')"
fi
copy=$state/throwaway
"$(dirname "$0")/throwaway-prefix.sh" "$state" "$copy" drive_c/windows/system.ini
overrides="winemenubuilder.exe=d;mscoree,mshtml="
if [ -n "$wineboot" ]; then
  rm -f "$copy/prefix/drive_c/windows/system32/wineboot.exe"
  cp "$wineboot" "$copy/prefix/drive_c/windows/system32/wineboot.exe"
  overrides="wineboot.exe=n;$overrides"
fi
export WINEPREFIX="$copy/prefix" HOME="$copy/home" WINEDEBUG=-all WINEDLLOVERRIDES="$overrides"
out=$(mktemp)
# The copy's server and its services end with the script, also when ctest's
# timeout ends it: a persistent server would outlive it.
trap '"$WINESERVER" -k; rm -rf "$copy" "$out"' EXIT
trap 'exit 143' INT TERM
"$WINESERVER" -p
set +e
"$WINE" "$driver" --gtest_also_run_disabled_tests --gtest_filter="$filter" >"$out" 2>&1 </dev/null
rc=$?
grep -v 'Read access denied' "$out"
exit $rc
