#!/usr/bin/env bash
# Runs one fuzz target for SECONDS over its seed corpus and prints its runs and findings.
#   run_fuzz.sh TARGET SEED_CORPUS SECONDS WORK_DIR
# New inputs go to WORK_DIR/corpus (the repository's seeds are only read); a finding's input
# is saved in WORK_DIR/findings and the exit status is 1.
set -euo pipefail
target=${1:?target} seeds=${2:?seed corpus} seconds=${3:?seconds} work=${4:?work folder}
name=$(basename "$target")
mkdir -p "$work/corpus" "$work/findings"
rm -f "$work/findings/"*
status=0
"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/findings/" "$work/corpus" "$seeds" >"$work/log" 2>&1 || status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
findings=$(find "$work/findings" -type f | wc -l)
printf '%-28s %12s runs %3d findings\n' "$name" "${runs:-?}" "$findings"
if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
  tail -n 40 "$work/log"
  find "$work/findings" -type f -exec echo "finding saved: {}" \;
  exit 1
fi
