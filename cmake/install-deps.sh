#!/bin/sh
# Installs what building and testing Orvalix needs on Debian 12, as root,
# quietly; does nothing when everything is there already. 64-bit Wine always;
# 32-bit Wine (an i386 package) only where this host runs 32-bit code: on a
# host that does not, its loader cannot start, and once installed the plain
# wine and wineserver commands pick it and hang.
set -e
here=$(dirname "$0")
packages="cmake ninja-build python3 g++ g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest libgtest-dev clang
  libclang-rt-14-dev wine wine64 xvfb xauth imagemagick zip"
want32=""
if sh "$here/host-runs-x86.sh"; then want32=wine32:i386; fi
missing() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || printf ' %s' "$p"
  done
}
need=$(missing $packages)
need32=$(missing $want32)
[ -z "$need$need32" ] && exit 0
echo "Installing:$need$need32"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
if [ -n "$need32" ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
fi
log=$(mktemp)
install() {
  $sudo apt-get update -qq >"$log" 2>&1 || true
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" \
    >>"$log" 2>&1
}
if [ -n "$need" ] && ! install $need; then
  cat "$log"
  rm -f "$log"
  exit 1
fi
# A mirror in the middle of a sync can leave the i386 lists behind the amd64
# ones, and then wine32 cannot be installed for a while. Building and the
# x86-64 tests do not need it: the 32-bit tests are then reported skipped,
# with this reason, rather than failing everything.
if [ -n "$need32" ] && ! install $need32 && ! { sleep 20; install $need32; }; then
  grep '^E:' "$log" | tail -n 3
  echo "** 32-bit Wine (wine32:i386) could not be installed now (above: why); the x86"
  echo "** build's Wine tests will be reported skipped. make test tries again next time."
fi
rm -f "$log"
