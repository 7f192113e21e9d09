#!/usr/bin/env bash
# Builds the Debian package into a scratch folder and checks its name and that
# its dependencies were worked out (Qt and the C++ library) beside the fonts.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d "$build/test-tmp/package.XXXXXX")
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
package=$(ls "$work"/tovrik_*_"$(dpkg --print-architecture)".deb)
depends=$(dpkg-deb -f "$package" Depends)
echo "$(basename "$package"): $depends"
for needed in fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core libqt6widgets6 libqt6multimedia6 libstdc++6; do
  grep -q "$needed" <<<"$depends" || { echo "missing dependency: $needed"; exit 1; }
done
contents=$(dpkg-deb -c "$package")
grep -q '\./usr/bin/tovrik$' <<<"$contents"
grep -q '\./usr/share/tovrik/template/classic.tvm$' <<<"$contents"
