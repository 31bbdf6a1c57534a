#!/usr/bin/env bash
# Takes the screenshots of docs/screenshots under a virtual X server: the
# main window with no device connected (the program itself, on an empty
# device bus), the skin window, a message box and the settings window (kestrova-preview), each in
# English and in Simplified Chinese. Builds first; needs xvfb-run, xdotool
# and ImageMagick's import (scripts/install-deps.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target kestrova kestrova-preview

out=docs/screenshots
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shot FILE TITLE LANGUAGE-ID COMMAND...: runs COMMAND on a fresh virtual
# screen with its own folders and the language stored, waits for a window
# titled TITLE, and takes the whole screen.
shot() {
  local file=$1 title=$2 language=$3
  shift 3
  local home="$work/$(basename "$file" .png)"
  mkdir -p "$home/config" "$home/data" "$home/runtime" "$home/bus"
  chmod 700 "$home/runtime"
  printf '[Software]\nLANGUAGE=%s\n' "$language" >"$home/config/Kestrova Z418-WL 3 Mode GAMING MOUSE.ini"
  TITLE="$title" FILE="$file" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
  XDG_RUNTIME_DIR="$home/runtime" KESTROVA_VHID_DIR="$home/bus" \
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
      "$@" >/dev/null 2>&1 &
      program=$!
      timeout 20 xdotool search --sync --onlyvisible --name "$TITLE" >/dev/null
      sleep 2
      import -window root "$FILE"
      kill "$program"
      wait "$program" || true' shots "$@" 2>/dev/null
  echo "$file"
}

for language in en:520:1 cn:510:0; do
  IFS=: read -r name id index <<<"$language"
  shot "$out/main_$name.png" "Kestrova Z418" "$id" build/bin/kestrova
  shot "$out/skin_$name.png" "Kestrova preview" "$id" build/bin/kestrova-preview skin "$index"
  shot "$out/message_$name.png" "Kestrova preview" "$id" build/bin/kestrova-preview message "$index"
  shot "$out/settings_$name.png" "Kestrova preview" "$id" build/bin/kestrova-preview settings "$index"
done
