#!/usr/bin/env bash
# Starts the built game on the classic layout under a virtual X server, moves
# the pointer onto the board, and saves a grab of the game window.
#   tools/screenshot/take-screenshot.sh [build folder] [output.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
output=${2:-docs/screenshot.png}

if [[ -z "${TOVRIK_SCREENSHOT_DISPLAY:-}" ]]; then
  for tool in xvfb-run:xvfb xdotool:xdotool import:imagemagick; do
    if ! command -v "${tool%%:*}" >/dev/null; then
      DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${tool##*:}"
    fi
  done
  # Again, inside the virtual X server.
  TOVRIK_SCREENSHOT_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$output"
fi

"$build/bin/tovrik" --layout classic.tvm --problem 1 &
game=$!
trap 'kill $game' EXIT
window=""
for _ in $(seq 150); do
  window=$(xdotool search --name '^Tovrik$' 2>/dev/null | head -n1 || true)
  [[ -n $window ]] && break
  sleep 0.1
done
if [[ -z $window ]]; then
  echo "The game window did not appear." >&2
  exit 1
fi
sleep 1
# A point on the board, so that the game's cursor and a focused tile show.
xdotool mousemove --window "$window" 300 200
sleep 0.3
xdotool mousemove --window "$window" 80 282
sleep 0.5
import -window "$window" "$output"
echo "Saved $output"
