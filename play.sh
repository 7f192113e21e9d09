#!/usr/bin/env bash
# Builds Tovrik and starts the game. Arguments are passed on to the game.
set -euo pipefail
cd "$(dirname "$0")"

bash tools/setup-machine.sh
cmake -S . -B build -G Ninja
cmake --build build -j2
if [[ -x build/bin/tovrik ]]; then
  exec build/bin/tovrik "$@"
fi
echo "The game window is not built yet; showing the classic layout with tovrik-tool instead."
build/bin/tovrik-tool layout info build/bin/template/classic.tvm
