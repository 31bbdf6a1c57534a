#!/usr/bin/env bash
# Installs the build into a temporary root as a packager does, then starts the
# installed simulator, tool and program from there, with folders of their own:
# the tool must reach the simulated mouse, and the program must show its
# window, having found its resources.
# Usage: install_test.sh BUILD_DIR BIN_DIR DATA_DIR RULE_FILE (all but the
# first relative to the prefix)
set -euo pipefail
build=$1 bindir=$2 datadir=$3 rulefile=$4

root=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Polls for up to 20 s.
wait_until() {
  for _ in $(seq 200); do "$@" && return 0; sleep 0.1; done
  return 1
}

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
prefix="$root/usr"
for file in "$bindir/kestrova" "$bindir/kestrova-ctl" "$bindir/kestrova-devsim" "$datadir/skin/res.xml" \
  "$datadir/DefaultData" "$rulefile" share/applications/kestrova.desktop \
  share/icons/hicolor/64x64/apps/kestrova.png; do
  [ -e "$prefix/$file" ] || fail "not installed: $file"
done

home="$root/home"
mkdir -p "$home/data/R214QX-LIT" "$home/config" "$home/run" "$home/bus"
chmod 700 "$home/run"
export XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run"
export KESTROVA_VHID_DIR="$home/bus" QT_QPA_PLATFORM=offscreen

"$prefix/$bindir/kestrova-devsim" --no-stdin 2>/dev/null &
pids+=($!)
wait_until "$prefix/$bindir/kestrova-devsim" ctl state >/dev/null 2>&1 || fail "the installed simulator did not start"
"$prefix/$bindir/kestrova-ctl" info >/dev/null || fail "the installed tool did not reach the simulated mouse"

KESTROVA_TRACE=1 "$prefix/$bindir/kestrova" 2>"$root/program.log" &
program=$!
pids+=("$program")
shown() { grep -qs "Open>pNoDeviceLinkLyout" "$home/data/R214QX-LIT/Tarvex.log"; }
wait_until shown || fail "the installed program did not show its window"
kill -TERM "$program"
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "the installed program ended with $status"
if grep -E "skin index missing|base style sheet missing|font skipped|: file not found" "$root/program.log"; then
  fail "the installed program missed some of its resources"
fi
echo "installed into $root: the program, tool and simulator run from there"
