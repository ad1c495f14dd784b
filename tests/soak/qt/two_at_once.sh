#!/bin/sh
# Runs a soak twice at the same time, each with a seed of its own, and
# passes only if both pass: two soaked programs share nothing, so neither
# disturbs the other.
#
#   two_at_once.sh PROGRAM [ARGS...]
set -u
seed=${VALDREMO_SOAK_SEED:-20150907}
logs=$(mktemp -d)
VALDREMO_SOAK_SEED=$((seed + 1)) "$@" >"$logs/first" 2>&1 &
first=$!
VALDREMO_SOAK_SEED=$((seed + 2)) "$@" >"$logs/second" 2>&1 &
second=$!
wait "$first"
first_code=$?
wait "$second"
second_code=$?
for run in first second; do
    echo "--- $run run"
    cat "$logs/$run"
done
rm -rf "$logs"
echo "exit codes: $first_code and $second_code"
[ "$first_code" -eq 0 ] && [ "$second_code" -eq 0 ]
