#!/bin/sh
# make test: CTest in each build tree, each under its own display and
# wineserver: test-all.sh BUILD_DIR ARCH... Prints each tree's summary (all of
# its output when it fails, kept in BUILD_DIR/logs/test-ARCH.log), then a count
# over all trees and, last, which builds were tested and which skipped, why.
# Whether this host runs 32-bit code is found out once, here.
build=$1
shift
cmake_dir=$(cd "$(dirname "$0")" && pwd)
ORVALIX_HOST_RUNS_X86=$(sh "$cmake_dir/host-runs-x86.sh" && echo yes || echo no)
export ORVALIX_HOST_RUNS_X86
echo "Testing (a few minutes; output in $build/logs/test-*.log)"
name() { [ "$1" = x86 ] && echo 32-bit || echo x86-64; }
passed=0 failed=0 skipped=0 tested="" notrun="" rc=0
for arch in "$@"; do
  log=$build/logs/test-$arch.log
  mkdir -p "$build/logs"
  "$cmake_dir/with-display.sh" "$build/$arch/wine" \
    ctest --test-dir "$build/$arch" --output-on-failure >"$log" 2>&1 </dev/null
  status=$?
  if [ $status -ne 0 ]; then
    cat "$log"
    echo "** $arch: tests failed (status $status); output kept in $log"
    rc=1
  else
    echo "$arch:"
    sed -n '/tests passed/,$p' "$log"
  fi
  # CTest counts a skipped test among the passed ones; this count does not.
  total=$(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$log")
  bad=$(sed -n 's/.*, \([0-9]*\) tests failed out of .*/\1/p' "$log")
  skip=$(grep -c '(Skipped)$' "$log")
  passed=$((passed + ${total:-0} - ${bad:-0} - skip))
  failed=$((failed + ${bad:-0}))
  skipped=$((skipped + skip))
  reason=$(state=$build/$arch/wine && . "$cmake_dir/wine-env.sh" && echo "$wine_skip")
  if [ -n "$reason" ]; then
    notrun="$notrun${notrun:+; }$arch ($(name $arch)): $reason (its static checks ran, its $skip Wine tests did not)"
  else
    tested="$tested${tested:+ and }$arch ($(name $arch))"
  fi
  [ -n "$total" ] || rc=1
done
echo "Total: $passed passed, $failed failed, $skipped skipped"
echo "Tested: ${tested:-no build}.${notrun:+ Skipped: $notrun.}"
exit $rc
