# Sourced, with cmake_dir set to this folder and state to a build tree's Wine
# state folder (a sourced file takes no arguments in every sh): the Wine of
# that tree. The file "arch" there, written when the tree is configured, says
# which: x86 runs in a 32-bit prefix through the 32-bit loader and server, x64
# in a 64-bit prefix through the 64-bit ones. Both are named by path: the plain wine and wineserver commands
# choose the 32-bit ones whenever they are installed, even on a host that
# cannot run them (they hang there).
# Sets WINEPREFIX, HOME, WINEARCH, WINE (the loader), WINESERVER, and
# wine_skip: empty when this host can run the tree's programs, else the reason;
# defines wine_ready.
mkdir -p "$state" && state=$(cd "$state" && pwd) || exit 1
wine_arch=$(cat "$state/arch" 2>/dev/null || echo x86)
export WINEPREFIX="$state/prefix" HOME="$state/home"
wine_skip=""
if [ "$wine_arch" = x64 ]; then
  export WINEARCH=win64 WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
  package="64-bit Wine (wine64)"
else
  export WINEARCH=win32 WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
  package="32-bit Wine (wine32:i386)"
  sh "$cmake_dir/host-runs-x86.sh" || wine_skip="this host runs no 32-bit x86 code"
fi
export WINELOADER="$WINE"
[ -n "$wine_skip" ] || [ -x "$WINE" ] || wine_skip="$package is not installed"

# For a command about to use Wine: where this host cannot run the tree's
# programs, says why and exits with 77 (CTest: skipped); else makes the prefix
# on first use.
wine_ready() {
  if [ -n "$wine_skip" ]; then
    echo "skipped: $wine_skip"
    exit 77
  fi
  [ -f "$state/ready" ] || flock "$state/lock" "$cmake_dir/wine-prefix.sh" "$state" >&2 || exit 1
}
