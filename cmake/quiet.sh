#!/bin/sh
# Runs one build step with its output kept in a file:
#   quiet.sh LOG SUMMARY COMMAND [ARGS...]
# On success it prints SUMMARY (one line; "--from=REGEX" prints LOG from the
# first line that matches instead, e.g. CTest's summary). On failure it prints
# the whole output, since that is when someone reads it, and exits with the
# command's status.
log=$1 summary=$2
shift 2
mkdir -p "$(dirname "$log")" || exit 1
"$@" >"$log" 2>&1 </dev/null
rc=$?
if [ $rc -ne 0 ]; then
  cat "$log"
  echo "** failed (status $rc): $*"
  echo "** output kept in $log"
  exit $rc
fi
case $summary in
  --from=*) sed -n "/${summary#--from=}/,\$p" "$log" ;;
  ?*) echo "$summary" ;;
esac
