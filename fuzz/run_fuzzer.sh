#!/usr/bin/env bash
# Runs one libFuzzer target for a given time on its seed corpus:
#   run_fuzzer.sh TARGET-BINARY SECONDS WORK-FOLDER
# New inputs go to WORK-FOLDER/corpus (the seeds in fuzz/corpus/<target> are
# only read), crashes to WORK-FOLDER/artifacts. The one place that holds the
# fuzzers' options, for CTest's short runs and scripts/fuzz.sh alike.
set -euo pipefail
binary=$1
seconds=$2
work=$3
name=$(basename "$binary")
seeds="$(cd "$(dirname "$0")" && pwd)/corpus/$name"
mkdir -p "$work/corpus" "$work/artifacts"

# ASan keeps freed memory in quarantine (256 MB by default) and its allocator
# keeps what it got from the system; both count in the resident size that
# -rss_limit_mb watches, so a long run ended in a false out-of-memory. A
# smaller quarantine still catches use after free of recent blocks, and
# -malloc_limit_mb catches one allocation that is really too large.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=64:allocator_release_to_os_interval_ms=500"
# A target without seeds of its own yet starts from an empty corpus.
corpora=("$work/corpus")
[ -d "$seeds" ] && corpora+=("$seeds")
exec "$binary" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=512 \
  -artifact_prefix="$work/artifacts/" "${corpora[@]}"
