#!/usr/bin/env bash
# Runs every fuzz target of the fuzz build for the given seconds each, one process at a time,
# starting from the corpus kept in the tree. New inputs stay in the build; a finding's input is
# written to <build>/fuzz/findings/ and ends the run with a failure.
# Usage: tools/fuzz.sh <fuzz build dir> [seconds per target]
set -euo pipefail
build=$1
seconds=${2:-300}
here=$(cd "$(dirname "$0")/.." && pwd)
status=0
for target in "$build"/bin/*_fuzz; do
  rule=$(basename "$target" _fuzz)
  work="$build/fuzz/corpus/$rule"
  mkdir -p "$work" "$build/fuzz/findings"
  log="$build/fuzz/$rule.log"
  echo "== $rule: $seconds s (log: $log)"
  result=0
  "$target" -max_total_time="$seconds" -timeout=120 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/findings/$rule-" "$work" "$here/tests/fuzz/corpus/$rule" >"$log" 2>&1 \
    || result=$?
  grep -E '^(#[0-9]+[[:space:]]+(INITED|DONE)|stat::number_of_executed_units|stat::peak_rss|Done [0-9]+ runs|SUMMARY|==[0-9]+==ERROR)' "$log" || true
  if [ "$result" -ne 0 ]; then
    tail -n 30 "$log"
    echo "== $rule: FINDING (input in $build/fuzz/findings/)"
    status=1
  fi
done
exit $status
