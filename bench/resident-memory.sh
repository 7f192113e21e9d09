#!/usr/bin/env bash
# Resident memory of the game playing in a window filling a virtual screen.
#   bench/resident-memory.sh [build folder] [WIDTHxHEIGHT] [--scaling pixel|sharp]
# Prints the resident set (VmRSS) and its peak (VmHWM) in MB once the art
# for the size is drawn and a few moves have been made by mouse.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
screen=${2:-3840x2160}
scaling=${3:-sharp}
if [[ -z "${TOVRIK_MEMORY_DISPLAY:-}" ]]; then
  TOVRIK_MEMORY_DISPLAY=1 exec xvfb-run -a -s "-screen 0 ${screen}x24" "$0" "$build" "$screen" "$scaling"
fi
config=$(mktemp -d)
XDG_CONFIG_HOME=$config XDG_DATA_HOME=$config "$build/bin/tovrik" --scaling "$scaling" --layout classic.tvm --problem 1 &
game=$!
trap 'kill $game; rm -rf "$config"' EXIT
window=""
for _ in $(seq 150); do
  window=$(xdotool search --name '^Tovrik$' 2>/dev/null | head -n1 || true)
  [[ -n $window ]] && break
  sleep 0.1
done
width=${screen%x*} height=${screen#*x}
xdotool windowmove "$window" 0 0 windowsize "$window" "$width" "$height"
sleep 1.5
xdotool getwindowgeometry "$window" >&2
for step in $(seq 20); do
  xdotool mousemove --window "$window" $(( width * step / 30 )) $(( height * (step % 7 + 2) / 10 )) click 1
  sleep 0.05
done
sleep 0.5
awk -v size="$screen" '/VmRSS|VmHWM/ { printf "%s %s: %.1f MB\n", size, $1, $2 / 1024 }' "/proc/$game/status"
