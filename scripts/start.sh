#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program. When there is no
# display (a bare server), it runs on a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a build/bin/kestrova
fi
exec build/bin/kestrova
