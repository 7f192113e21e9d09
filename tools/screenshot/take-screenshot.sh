#!/usr/bin/env bash
# Starts the built game on the classic layout under a virtual X server, moves
# the pointer onto the board, and saves a grab of the game window.
#   tools/screenshot/take-screenshot.sh [build folder] [output.png] [WIDTHxHEIGHT]
# With a screen size the virtual screen has that size and the window fills it,
# as a maximised window does, and the board fills the window.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
output=${2:-docs/screenshot.png}
screen=${3:-}

if [[ -z "${TOVRIK_SCREENSHOT_DISPLAY:-}" ]]; then
  for tool in xvfb-run:xvfb xdotool:xdotool import:imagemagick; do
    if ! command -v "${tool%%:*}" >/dev/null; then
      DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${tool##*:}"
    fi
  done
  # Again, inside the virtual X server.
  TOVRIK_SCREENSHOT_DISPLAY=1 exec xvfb-run -a -s "-screen 0 ${screen:-1024x768}x24" "$0" "$build" "$output" "$screen"
fi

# Remembered settings of the user running this play no part in the picture.
config=$(mktemp -d)
XDG_CONFIG_HOME=$config "$build/bin/tovrik" --layout classic.tvm --problem 1 &
game=$!
trap 'kill $game; rm -rf "$config"' EXIT
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
scale=1 left=0 top=0
if [[ -n $screen ]]; then
  width=${screen%x*} height=${screen#*x}
  xdotool windowmove "$window" 0 0 windowsize "$window" "$width" "$height"
fi
sleep 1
# A point on the board, so that the game's cursor and a focused tile show:
# the board fills the window left of the side bar.
if [[ -n $screen ]]; then
  xdotool mousemove --window "$window" $(( width / 2 )) $(( height / 3 ))
  sleep 0.3
  xdotool mousemove --window "$window" $(( width * 23 / 100 )) $(( height * 47 / 100 ))
else
  xdotool mousemove --window "$window" $(( left + 300 * scale )) $(( top + 200 * scale ))
  sleep 0.3
  xdotool mousemove --window "$window" $(( left + 80 * scale )) $(( top + 282 * scale ))
fi
sleep 0.5
import -window "$window" "$output"
echo "Saved $output"
