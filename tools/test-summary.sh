#!/usr/bin/env bash
# Prints how many test cases each run passed, from the logs CTest keeps.
set -u
for dir in "$@"; do
  log="$dir/Testing/Temporary/LastTest.log"
  [ -f "$log" ] || continue
  passed=$(grep -hoE '\[  PASSED  \] [0-9]+ tests?' "$log" | awk '{s+=$4} END {print s+0}')
  failed=$(grep -hoE '[0-9]+ FAILED TESTS?' "$log" | awk '{s+=$1} END {print s+0}')
  echo "$(basename "$dir"): $passed test cases passed, $failed failed"
done
