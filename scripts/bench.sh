#!/usr/bin/env bash
# Builds and runs the project's benchmarks; each prints its figures and the
# goal it is measured against. Without a display they run on a virtual one,
# so the start-up benchmark measures windows as a desktop shows them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
display=()
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  display=(xvfb-run -a -s "-screen 0 1600x1000x24")
fi
for bench in build/bin/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "${display[@]}" "$bench"
done
