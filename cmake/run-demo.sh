#!/bin/sh
# make run: shows Orvalix under Wine. On a machine without a display it runs on
# Xvfb, saves a screenshot of the window to build/orvalix.png and presses Exit.
build=$1
state=$build/wine
demo=$build/demo
mkdir -p "$demo"
cp "$build/Orvalix.exe" "$demo/Orvalix.exe"
if [ -n "$DISPLAY" ]; then
  exec "$(dirname "$0")/with-display.sh" "$state" "$(dirname "$0")/wine-run.sh" "$state" "$demo/Orvalix.exe"
fi
exec "$(dirname "$0")/with-display.sh" "$state" "$(dirname "$0")/wine-run.sh" "$state" \
  "$build/tests/e2e_tests.exe" --gtest_filter=Demo.* "--demo=$demo" "--shot=$build/orvalix.png"
