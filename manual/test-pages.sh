#!/usr/bin/env bash
# Every option and command that tovrik --help and tovrik-tool --help list is
# in the English and the Japanese page of that program, and the built pages
# format without a warning (as lintian checks them).
set -euo pipefail
sources=$1
built=$2
failed=0
check_page() { # PROGRAM HELP-WORDS...
  local program=$1 word page
  shift
  for page in "$sources/$program.6.scd" "$sources/ja/$program.6.scd"; do
    for word in "$@"; do
      grep -qw -- "$word" "$page" || { echo "${page#$sources/} lacks $word"; failed=1; }
    done
  done
}

check_page tovrik $("$3" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
# The tool's options, and its commands and actions: the lower-case words of
# its usage lines.
usage=$("$4" --help | sed -n 's/^  tovrik-tool //p')
check_page tovrik-tool $({ grep -o -- '--[a-z][a-z-]*' <<<"$usage"; grep -oE '(^|[ (])[a-z][a-z-]*' <<<"$usage" | tr -d ' ('; } |
                         sort -u)

if command -v man >/dev/null; then
  for page in "$built"/tovrik.6 "$built"/tovrik-tool.6; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [[ -z $warnings ]] || { echo "$page: $warnings"; failed=1; }
  done
fi
exit $failed
