#!/usr/bin/env bash
# Builds and runs the project's benchmarks; each prints its figures and the
# goal it is measured against.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
for bench in build/bin/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench"
done
