#!/bin/sh
# Runs a command that drives Wine itself (a test script) with the Wine of one
# build tree in its environment (see wine-env.sh) and that tree's prefix made:
# with-wine.sh STATE_DIR COMMAND [ARGS...]. Where this host cannot run the
# tree's programs it says why and exits with 77 (CTest: skipped).
cmake_dir=$(cd "$(dirname "$0")" && pwd)
state=$1
. "$cmake_dir/wine-env.sh"
shift
wine_ready
exec "$@"
