#!/bin/sh
# Runs one fuzz target on its seed corpus: run.sh BIN SEED_DIR WORK_DIR [libFuzzer flags].
# New inputs go to WORK_DIR, never into the seeds kept in the repository.
bin=$1 seeds=$2 work=$3
shift 3
mkdir -p "$work"
bin=$(realpath "$bin") seeds=$(realpath "$seeds") work=$(realpath "$work")
cd "$work/.." || exit 1  # crash reproducers land beside the work folder
"$bin" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$@" "$work" "$seeds" 2>&1 |
  grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done|BINGO|deadly|==[0-9]+=='
exit $(( $? > 1 ))
