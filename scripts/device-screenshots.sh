#!/usr/bin/env bash
# Pictures of the device list for the README: the simulated mouse on its
# cable, with its receiver, on the receiver alone, switched off, back on, and
# with the mouse pad. Run after a build; needs xvfb-run and ImageMagick.
#   bash scripts/device-screenshots.sh [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshots}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1600x1000x24" bash "$0" "$out"
fi
mkdir -p "$out"
KESTROVA_VHID_DIR=$(mktemp -d)
XDG_DATA_HOME=$(mktemp -d)
export KESTROVA_VHID_DIR XDG_DATA_HOME
sim=build/bin/kestrova-devsim
"$sim" --no-stdin &
simpid=$!
sleep 1
build/bin/kestrova &
apppid=$!
shot() {
  sleep "$2"
  import -window root -crop 1500x960+50+20 +repage -resize 50% "$out/devices_$1.png"
}
ctl() { "$sim" ctl "$@" >/dev/null; }
shot 1-cable 5
ctl plug receiver; shot 2-cable-and-receiver 3
ctl unplug mouse-cable; shot 3-receiver 4
ctl unlink; shot 4-unlinked 5
ctl link; shot 5-linked-again 5
ctl plug mousepad; shot 6-mousepad 4
kill "$apppid"
ctl quit
wait "$simpid" || true
rm -rf "$KESTROVA_VHID_DIR" "$XDG_DATA_HOME"
