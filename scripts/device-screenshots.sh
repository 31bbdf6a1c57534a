#!/usr/bin/env bash
# Pictures of the device list for the README: the simulated mouse on its
# cable, with its receiver, on the receiver alone, switched off, back on, and
# with the mouse pad; and the mouse page's settings tabs. Run after a build;
# needs xvfb-run, xdotool and ImageMagick.
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
XDG_CONFIG_HOME=$(mktemp -d)
export KESTROVA_VHID_DIR XDG_DATA_HOME XDG_CONFIG_HOME
# In English: the clicks below find the tabs where the English texts put them.
printf '[Software]\nLANGUAGE=520\n' >"$XDG_CONFIG_HOME/Kestrova Z418-WL 3 Mode GAMING MOUSE.ini"
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
# click X Y: a click at that place of the main window (its layout is 1500 x 960 here).
window=$(xdotool search --sync --onlyvisible --name "Kestrova Z418-WL 3 Mode GAMING MOUSE" | head -1)
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
page() {
  sleep 1.5
  import -window root -crop 1500x960+50+20 +repage -resize 60% "$out/mouse_$1.png"
}
shot 1-cable 5
click 491 71; page 1-dpi           # Performance, its first settings tab
click 309 163; page 2-sensor
click 412 163; page 3-power
click 586 71; page 4-pointer       # Pointer
click 328 71; click 280 665; page 6-keys   # Keys, with the fifth key of the list chosen
click 258 71; page 5-lighting      # back to Lighting for the pictures below
ctl plug receiver; shot 2-cable-and-receiver 3
ctl unplug mouse-cable; shot 3-receiver 4
ctl unlink; shot 4-unlinked 5
ctl link; shot 5-linked-again 5
ctl plug mousepad; shot 6-mousepad 4
kill "$apppid"
ctl quit
wait "$simpid" || true
rm -rf "$KESTROVA_VHID_DIR" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
