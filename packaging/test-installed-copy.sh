#!/usr/bin/env bash
# Installs the build into a fresh prefix and plays the installed copy under a
# fresh home: its smoke test must find the data in share/tovrik, save and
# load in (a scratch copy of) the user's folder, keep a setting, and leave the
# prefix and the home untouched.
# Root ignores write permissions, so the prefix is compared file by file.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d "$build/test-tmp/installed.XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
chmod -R a-w "$work/prefix"
snapshot() { (cd "$work/prefix" && find . -printf '%p %s %T@\n' | sort); }
before=$(snapshot)

export HOME="$work/home"
mkdir -p "$HOME"
unset XDG_CONFIG_HOME XDG_DATA_HOME
export QT_QPA_PLATFORM=offscreen
cd /
output=$("$work/prefix/bin/tovrik" --smoke-test)
echo "$output"
grep -qx "data folder: $work/prefix/share/tovrik" <<<"$output"
grep -qx "save file: .*/data/tovrik/save.dat" <<<"$output"
grep -qx "settings: .*/config/tovrik/tovrik.conf" <<<"$output"
[[ -z "$(find "$HOME" -mindepth 1)" ]] || { echo "the smoke test wrote into the home"; exit 1; }

"$work/prefix/bin/tovrik-tool" deal classic.tvm --problem 1 | grep -q '^0 '
for file in share/applications/org.tovrik.Tovrik.desktop share/metainfo/org.tovrik.Tovrik.metainfo.xml \
            share/icons/hicolor/256x256/apps/org.tovrik.Tovrik.png share/tovrik/sound.dat \
            share/tovrik/wallpaper/felt.png share/tovrik/template/classic.tvm; do
  test -f "$work/prefix/$file" || { echo "not installed: $file"; exit 1; }
done

[[ "$(snapshot)" == "$before" ]] || { echo "the installed copy wrote into its prefix"; exit 1; }
echo "installed copy plays"
