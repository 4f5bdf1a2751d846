#!/bin/sh
# make run: Orvalix under Wine, beside a small demo Startup folder (Notepad,
# Clock, and a "disabled" Winver that is skipped). With a display it runs
# until you press Exit. Without one it runs on Xvfb, saves a screenshot of the
# window to build/orvalix.png and presses Exit.
shown=$1  # paths as the caller wrote them, for the closing lines
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
state=$build/wine
demo=$build/demo
rm -rf "$demo" "$build/orvalix.png"
mkdir -p "$demo"
cp "$build/Orvalix.exe" "$demo/Orvalix.exe"
export ORV_DEMO_DIR="$demo"
driver="$build/tests/e2e_tests.exe --gtest_also_run_disabled_tests --gtest_filter=Demo.*"
if [ -n "$DISPLAY" ]; then
  ORV_DEMO_SETUP_ONLY=1 "$here/with-display.sh" "$state" sh -c \
    "'$here/wine-run.sh' '$state' $driver >/dev/null && cd '$demo' && '$here/wine-run.sh' '$state' Orvalix.exe"
  rc=$?
  echo "Log of the demo's Startup run: $shown/demo/Startup/Orvalix.log"
  exit $rc
fi
"$here/with-display.sh" "$state" sh -c "
  '$here/wine-run.sh' '$state' $driver > '$demo/driver.log' 2>&1 &
  driver=\$!
  for i in \$(seq 300); do [ -f '$demo/ready' ] && break; sleep 0.1; done
  import -window root -crop \"\$(cat '$demo/ready')\" +repage '$build/orvalix.png' 2>/dev/null
  touch '$demo/shot-done'
  wait \$driver"
rc=$?
if [ $rc -ne 0 ]; then
  cat "$demo/driver.log"
  echo "** the demo failed (status $rc); its driver's output is above"
  exit $rc
fi
echo "Orvalix ran on a virtual display and was closed with Exit."
if [ -f "$build/orvalix.png" ]; then
  echo "Screenshot of its window: $shown/orvalix.png"
else
  echo "No screenshot: ImageMagick's import could not capture the window."
fi
echo "Log of the demo's Startup run: $shown/demo/Startup/Orvalix.log"
