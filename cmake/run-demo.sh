#!/bin/sh
# make run: Orvalix under Wine, beside a small demo Startup folder (Notepad,
# Clock, and a "disabled" Winver that is skipped). With a display it runs
# until you press Exit. Without one it runs on Xvfb, saves a screenshot of the
# window to build/orvalix.png and presses Exit.
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
state=$build/wine
demo=$build/demo
rm -rf "$demo"
mkdir -p "$demo"
cp "$build/Orvalix.exe" "$demo/Orvalix.exe"
export ORV_DEMO_DIR="$demo"
driver="$build/tests/e2e_tests.exe --gtest_also_run_disabled_tests --gtest_filter=Demo.*"
if [ -n "$DISPLAY" ]; then
  ORV_DEMO_SETUP_ONLY=1 "$here/with-display.sh" "$state" sh -c \
    "'$here/wine-run.sh' '$state' $driver >/dev/null && cd '$demo' && '$here/wine-run.sh' '$state' Orvalix.exe"
  exit $?
fi
"$here/with-display.sh" "$state" sh -c "
  '$here/wine-run.sh' '$state' $driver > '$demo/driver.log' 2>&1 &
  driver=\$!
  for i in \$(seq 300); do [ -f '$demo/ready' ] && break; sleep 0.1; done
  import -window root -crop \"\$(cat '$demo/ready')\" +repage '$build/orvalix.png' 2>/dev/null
  touch '$demo/shot-done'
  wait \$driver
  rc=\$?
  grep -E '^\[  (PASSED|FAILED) ' '$demo/driver.log'
  exit \$rc"
rc=$?
[ -f "$build/orvalix.png" ] && echo "Screenshot: $build/orvalix.png"
echo "Log of the Startup run: $demo/Startup/Orvalix.log"
exit $rc
