#!/bin/sh
# Resident memory of the game beside a bare Qt window of the same size, each
# measured 3 s after its window appears on a virtual screen, by mapping kind.
# Usage: tools/memory/memory-breakdown.sh [BUILD_DIR] [RUNS] [GAME_PROGRAM]
# Needs Xvfb and xwininfo (x11-utils); tools/setup-machine.sh installs both.
set -eu
build=${1:-build}
runs=${2:-5}
game=${3:-$build/bin/tovrik}
display=:$((90 + $$ % 100))
scratch=$(mktemp -d)
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$scratch"' EXIT
export DISPLAY="$display" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
sleep 1

# Rss in kB by kind of mapping, then the three largest anonymous blocks.
breakdown() {
    awk '
        /^[0-9a-f]+-[0-9a-f]+ / {
            path = $6
            if (path == "") kind = "anonymous"
            else if (path == "[heap]") kind = "heap"
            else if (path == "[stack]") kind = "stack"
            else if (path ~ /^\/(dev\/shm|SYSV|memfd:)/ || path ~ /^\/memfd/) kind = "shared memory"
            else if (path ~ /^\[/) kind = "kernel"
            else kind = "files and libraries"
            size = $1
            next
        }
        /^Rss:/ {
            rss[kind] += $2; total += $2
            if (kind == "anonymous") print "block", $2, size
        }
        END {
            for (k in rss) print "kind", rss[k], k
            print "total", total
        }' "$1"
}

measure() {
    class=$1; shift
    totals=""
    for run in $(seq "$runs"); do
        "$@" >/dev/null 2>&1 &
        pid=$!
        tries=0
        until xwininfo -root -tree 2>/dev/null | grep -q "\"$class\""; do
            tries=$((tries + 1)); [ $tries -lt 1000 ] || { echo "$class: no window" >&2; exit 1; }
            sleep 0.01
        done
        sleep 3
        breakdown /proc/$pid/smaps > "$scratch/$class.$run"
        kill $pid; wait $pid 2>/dev/null || true
        totals="$totals $(awk '/^total/ {print $2}' "$scratch/$class.$run") $run"
    done
    # The run with the median total stands for the program.
    median=$(echo $totals | xargs -n2 | sort -n | awk -v n="$runs" 'NR == int((n + 1) / 2) {print $2}')
    echo "== $class: median of $runs runs, resident kB"
    awk '/^kind/ {printf "  %-22s %8d\n", substr($0, index($0, $3)), $2}' "$scratch/$class.$median" | sort -k1,1
    awk '/^total/ {printf "  %-22s %8d\n", "total", $2}' "$scratch/$class.$median"
    echo "  largest anonymous blocks (resident kB, range):"
    awk '/^block/ {print "   ", $2, $3}' "$scratch/$class.$median" | sort -k1,1nr | head -3
}

measure tovrik-bare-window "$build/bin/tovrik-bare-window"
measure tovrik "$game" --layout classic.tvm --problem 1
