#!/usr/bin/env bash
# The batch command's cost: its overhead per case against eval started alone,
# and its throughput by --jobs, on generated cases and their baselines.
# Usage: batch_throughput.sh SKEDOMAT SCRATCH_FOLDER
set -euo pipefail
skedomat="$1"
work="$2/batch"
rm -rf "$work"
mkdir -p "$work/small/cases" "$work/small/subs" "$work/generated/subs"

seconds() { date +%s.%N; }
elapsed() { awk "BEGIN { printf \"%.3f\", $2 - $1 }"; }
# $1 / $2 * $3, with two decimals.
ratio() { awk "BEGIN { printf \"%.2f\", $1 / $2 * $3 }"; }

# Overhead: 200 tiny cases, one run each, one job, against a loop of eval.
"$skedomat" generate --seeds 0-199 --dir "$work/small/cases" --films 10 --viewers 100 >/dev/null
for f in "$work"/small/cases/*.txt; do
  "$skedomat" baseline "$f" "$work/small/subs/$(basename "$f")"
done
start=$(seconds)
for f in "$work"/small/cases/*.txt; do
  "$skedomat" eval "$f" "$work/small/subs/$(basename "$f")" "$work/small/alone.txt" 1
done
alone=$(elapsed "$start" "$(seconds)")
start=$(seconds)
"$skedomat" batch "$work/small/cases" "$work/small/subs" --runs 1 --jobs 1 >/dev/null 2>&1
batched=$(elapsed "$start" "$(seconds)")
echo "200 small cases, 1 run, 1 job: eval alone $(ratio "$alone" 200 1000) ms per case, batch $(ratio "$batched" 200 1000) ms per case"

# Throughput: 100 generated cases of the drawn sizes.
"$skedomat" generate --seeds 0-99 --dir "$work/generated/cases" >/dev/null
for f in "$work"/generated/cases/*.txt; do
  "$skedomat" baseline "$f" "$work/generated/subs/$(basename "$f")"
done
for jobs in 1 2; do
  start=$(seconds)
  "$skedomat" batch "$work/generated/cases" "$work/generated/subs" --jobs $jobs >/dev/null 2>&1
  time[$jobs]=$(elapsed "$start" "$(seconds)")
  echo "100 generated cases, 3 runs, --jobs $jobs: ${time[$jobs]} s"
done
echo "throughput of --jobs 2 / --jobs 1: $(ratio "${time[1]}" "${time[2]}" 1)"
