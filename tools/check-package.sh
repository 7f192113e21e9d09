#!/usr/bin/env bash
# Builds the Debian package from a clean copy of the source tree (the files git
# knows, committed or not) in build-package/, checks its dependencies and
# contents, and runs lintian on it, failing on any error or warning.
# DEB_BUILD_OPTIONS is passed on (nocheck skips the tests in the build);
# parallel=2 is added unless it names a parallel level.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$PWD/build-package
rm -rf "$out"
mkdir -p "$out/tovrik"
git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' file; do
  [[ -e $file ]] && printf '%s\0' "$file"
done | tar --null -T - -cf - | tar -xf - -C "$out/tovrik"

options=${DEB_BUILD_OPTIONS:-}
[[ $options == *parallel=* ]] || options="${options:+$options }parallel=2"
(cd "$out/tovrik" && DEB_BUILD_OPTIONS=$options nice dpkg-buildpackage -us -uc -b)

package=$(ls "$out"/tovrik_*_"$(dpkg --print-architecture)".deb)
depends=$(dpkg-deb -f "$package" Depends)
echo "$(basename "$package"): $depends"
for needed in fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core libqt6widgets6 libqt6multimedia6 libstdc++6; do
  grep -q "$needed" <<<"$depends" || { echo "missing dependency: $needed"; exit 1; }
done
contents=$(dpkg-deb -c "$package")
for file in usr/games/tovrik usr/games/tovrik-tool usr/share/tovrik/template/classic.tvm usr/share/tovrik/sound.dat \
            usr/share/applications/org.tovrik.Tovrik.desktop usr/share/metainfo/org.tovrik.Tovrik.metainfo.xml \
            usr/share/man/man6/tovrik.6.gz usr/share/man/ja/man6/tovrik-tool.6.gz \
            usr/share/bash-completion/completions/tovrik-tool usr/share/doc/tovrik/copyright; do
  grep -q " \./$file\$" <<<"$contents" || { echo "not in the package: $file"; exit 1; }
done

lintian --fail-on error,warning --info "$out"/tovrik_*.changes
echo "package checked: $package"
