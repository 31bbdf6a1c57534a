#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program with a simulated
# mouse plugged in by cable (the device simulator is started unless one runs
# already, and stopped with the program). When there is no display (a bare
# server), the program runs on a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh

devsim=build/bin/kestrova-devsim
started_devsim=""
if ! "$devsim" ctl state >/dev/null 2>&1; then
  "$devsim" --no-stdin --log build/devsim-traffic.log &
  started_devsim=$!
  trap '"$devsim" ctl quit >/dev/null 2>&1 || kill "$started_devsim" 2>/dev/null; wait "$started_devsim" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do "$devsim" ctl state >/dev/null 2>&1 && break; sleep 0.1; done
fi

status=0
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  xvfb-run -a build/bin/kestrova || status=$?
else
  build/bin/kestrova || status=$?
fi
exit "$status"
