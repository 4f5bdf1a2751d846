#!/bin/sh
# Installs what building and testing Orvalix needs on Debian 12, as root,
# quietly; does nothing when everything is there already.
set -e
packages="cmake ninja-build python3 g++ g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  googletest libgtest-dev clang libclang-rt-14-dev wine wine32:i386 xvfb xauth imagemagick zip"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
# wine32 is an i386 package: the 32-bit Wine that runs a 32-bit program.
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing \
  >/dev/null
