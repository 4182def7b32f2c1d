#!/usr/bin/env bash
# Pictures of the editor for people to look at: walks the built program on an X server of its own
# with real keys and clicks, the way a user does, and writes PNG files plus the exported picture.
# Needs xvfb, xdotool and imagemagick (Debian packages).
# Usage: scripts/screenshots.sh [build folder] [output folder]
set -euo pipefail
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-$build/screenshots}")
if [ -z "${LUMORA_SHOTS_ON_X:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env LUMORA_SHOTS_ON_X=1 "$0" "$build" "$out"
fi
for tool in xdotool import; do command -v $tool >/dev/null || { echo "$tool is missing" >&2; exit 2; }; done
mkdir -p "$out"
rm -f "$out/composed-export.png"  # the walk must see its own export, not an earlier one
home=$(mktemp -d)
HOME=$home XDG_CONFIG_HOME=$home/config QT_QPA_PLATFORM=xcb "$build/bin/lumora" &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$home"' EXIT

# Waits for a visible window of the program whose title holds $1 and makes it the active one.
window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --pid $pid --name "$1" 2>/dev/null | tail -1) && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "no window \"$1\" appeared" >&2; exit 1; }
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
  sleep 0.5
  echo "$id"
}
shot() { import -window "$1" "$out/$2.png" && echo "$out/$2.png"; }
keys() { xdotool key --delay 60 "$@"; sleep 0.4; }

main=$(window "ZEB")
shot "$main" main-window
keys ctrl+n
shot "$(window "Image Templates")" browser
keys Return
window "ZEB" >/dev/null
keys ctrl+t
xdotool type --delay 40 "Summer Sale"
keys Return
xdotool type --delay 40 "up to 50% off"
keys Tab
shot "$main" composed-document
keys ctrl+plus ctrl+plus
shot "$main" zoomed-workspace
keys ctrl+0
eval "$(xdotool getwindowgeometry --shell "$main")"
# Fit to box (the Effects panel's third column), a longer caption shrinks into it, an arc bends it.
xdotool mousemove $((X + 878)) $((Y + 21)) click 1
sleep 0.4
keys ctrl+a
xdotool type --delay 30 "Summer Sale on everything this week"
xdotool mousemove $((X + 878)) $((Y + 65)) click --repeat 3 1
xdotool type --delay 60 "60"
keys Return
shot "$main" fit-and-arc
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * 3 / 4)) click 3
sleep 0.6
import -window root "$out/context-menu.png" && echo "$out/context-menu.png"
keys Escape
# Ctrl+E straight from the Arc box: Save Image, not the box's end of line.
keys ctrl+e
dialog=$(window "Save")
shot "$dialog" export-dialog
keys alt+o
shot "$(window "Export Options")" export-options
keys Escape
window "Save" >/dev/null
xdotool type --delay 30 "$out/composed-export.png"
keys Return
for _ in $(seq 50); do [ -s "$out/composed-export.png" ] && break; sleep 0.1; done
[ -s "$out/composed-export.png" ] && echo "$out/composed-export.png"
