#!/usr/bin/env bash
# Builds Tovrik and starts the game. Arguments are passed on to the game.
set -euo pipefail
cd "$(dirname "$0")"

bash tools/setup-machine.sh
cmake -S . -B build -G Ninja
cmake --build build -j2
exec build/bin/tovrik "$@"
