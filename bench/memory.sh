#!/usr/bin/env bash
# Peak memory and time of sonavel-cli, whole process, on large songs: the
# 8-bit real songs repeated to SIZE bytes with their line breaks (many
# lines), the same with every line break a space (one line), and a line of
# nothing but chords ("C C C ...", the most painted runs a line can hold).
# Runs transpose to standard output, -o and --in-place, and colorize in
# every format, each once, and prints the maximum resident set that
# /usr/bin/time reports beside the bound the tool keeps to: twice the input
# plus 16 MB.
#
#   bench/memory.sh [SONAVEL_CLI] [SIZE]   (defaults: build/cli/sonavel-cli, 100000000)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=$(realpath "${1:-$here/../build/cli/sonavel-cli}")
size=${2:-100000000}
songs=$here/../../shared/songs
[[ -x $cli ]] || { echo "memory.sh: $cli: no such program; build it first" >&2; exit 2; }
[[ -d $songs ]] || { echo "memory.sh: the songs are expected in $songs" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "memory.sh: /usr/bin/time is needed (Debian package time)" >&2; exit 2; }

work=$(mktemp -d /tmp/sonavel-memory-XXXXXX)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config  # no settings: the defaults

# UTF-16 songs would put NUL bytes into an 8-bit file.
once=$work/once.crd
for song in "$songs"/*; do
  [[ $song == *.md ]] && continue
  [[ $(head -c 2 "$song" | od -An -tx1 | tr -d ' ') == @(fffe|feff) ]] && continue
  cat "$song" >> "$once"
done
# The loop ends when head has taken enough and cat finds the pipe closed.
while cat "$once"; do :; done 2> /dev/null | head -c "$size" > "$work/many-lines.crd" || true
tr '\r\n' '  ' < "$work/many-lines.crd" > "$work/one-line.crd"
yes C | tr '\n' ' ' | head -c "$size" > "$work/chords.crd" || true

bound=$(( (2 * size) / 1000000 + 16 ))
printf '%-15s %-28s %10s %8s\n' file command "peak MB" seconds
for file in many-lines one-line chords; do
  input=$work/$file.crd
  for command in "transpose -s 2" "transpose -s 2 -o OUT" "transpose -s 2 --in-place" \
                 "colorize --format spans" "colorize --format html" "colorize --format ansi"; do
    target=$input
    if [[ $command == *--in-place* ]]; then
      cp "$input" "$work/copy.crd"
      target=$work/copy.crd
    fi
    # shellcheck disable=SC2086  # the command is words
    /usr/bin/time -f '%M %e' -o "$work/time" "$cli" ${command/OUT/$work/out.crd} -q "$target" > /dev/null
    read -r kb seconds < "$work/time"
    printf '%-15s %-28s %10.1f %8s\n' "$file" "$command" "$(echo "$kb * 1024 / 1000000" | bc -l)" "$seconds"
  done
done
echo "bound: 2 x input + 16 MB = $bound MB"
