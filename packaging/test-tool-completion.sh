#!/usr/bin/env bash
# The bash completion of tovrik-tool offers every command and every option its
# --help lists, and the layouts: files here and the bare names the tool finds.
set -euo pipefail
completion=$(realpath "$1")
tool=$(realpath "$2")
work=$(mktemp -d "$(realpath "$3")/test-tmp/completion.XXXXXX")
trap 'rm -rf "$work"' EXIT
compopt() { :; }  # only works while bash itself completes
source "$completion"
PATH="$(dirname "$tool"):$PATH"
export XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_DATA_HOME/tovrik/template" "$work/here"
touch "$XDG_DATA_HOME/tovrik/template/mine.tvm" "$work/here/local.tvm" "$work/here/notes.txt"
cd "$work/here"

# Prints what completing the words gives, the last word being completed.
complete_words() {
  COMP_WORDS=(tovrik-tool "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _tovrik_tool 2>/dev/null
  printf '%s\n' "${COMPREPLY[@]}"
}
failed=0
expect() { # WORD WORDS...: completing WORDS offers WORD
  local word=$1
  shift
  if ! grep -qxF -- "$word" <<<"$(complete_words "$@")"; then
    echo "completing '$*' does not offer $word"
    failed=1
  fi
}

# Usage lines, one per command (and action), with their options.
commands=$("$tool" --help | sed -n 's/^  tovrik-tool //p' | sed 's/ | /\n/g' | awk '
  /^[a-z]/ { if (line) print line; line = $0; next }
  { line = line " " $0 }
  END { print line }')
while read -r command rest; do
  expect "$command" ""
  action=
  [[ $command == sound || $command == layout ]] && action=${rest%% *} && expect "$action" "$command" ""
  for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$rest" | sort -u); do
    expect "$option" $command $action --
  done
done <<<"$commands"

expect classic.tvm deal ""
expect mine.tvm solve ""
expect local.tvm render ""
if grep -qx notes.txt <<<"$(complete_words deal "")"; then echo "a layout argument offers notes.txt"; failed=1; fi
exit $failed
