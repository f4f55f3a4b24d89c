#!/usr/bin/env bash
# run_fuzz.sh TARGET SEEDS WORK: fuzzes TARGET for LEDGRIX_FUZZ_SECONDS (30 by
# default), starting from the committed seeds.
set -euo pipefail
target=$1 seeds=$2 work=$3
seconds=${LEDGRIX_FUZZ_SECONDS:-30}
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
[ -d "$seeds" ] && cp -r "$seeds/." "$work/corpus/"
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$work/corpus"
