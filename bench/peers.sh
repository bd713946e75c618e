#!/usr/bin/env bash
# sonavel-cli beside the npm song-sheet transposers, whole process against
# whole process: installs chord-transposer and chordsheetjs into a temporary
# folder, builds a 5 MB corpus from the real songs (those in UTF-8, which
# the peers read), and transposes it up 3 steps with each, RUNS times in
# alternating order. Prints each program's median wall time and peak memory
# and how many times faster sonavel-cli is. A program that runs past LIMIT
# seconds is stopped, shown as "> LIMIT" and not run again (ChordSheetJS
# needs minutes for 5 MB: its time grows faster than the text).
#
#   bench/peers.sh [SONAVEL_CLI] [RUNS] [LIMIT]   (defaults: build/cli/sonavel-cli, 5, 60)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=$(realpath "${1:-$here/../build/cli/sonavel-cli}")
runs=${2:-5}
limit=${3:-60}
songs=$here/../../shared/songs
[[ -x $cli ]] || { echo "peers.sh: $cli: no such program; build it first" >&2; exit 2; }
[[ -d $songs ]] || { echo "peers.sh: the songs are expected in $songs" >&2; exit 2; }
command -v node > /dev/null || { echo "peers.sh: node and npm are needed" >&2; exit 2; }

work=$(mktemp -d /tmp/sonavel-peers-XXXXXX)
trap 'rm -rf "$work"' EXIT
echo "Installing chord-transposer and chordsheetjs from npm..."
(cd "$work" && npm install --silent --no-audit --no-fund chord-transposer chordsheetjs > /dev/null)
cp "$here"/peers/*.js "$work/"

# The corpus: every UTF-8 song, byte-order mark dropped, LF line ends, a
# blank line between songs, repeated until it holds 5 MB.
corpus=$work/corpus.crd
one=$work/once.crd
: > "$one"
for song in "$songs"/*; do
  [[ $song == *.md ]] && continue
  iconv -f UTF-8 -t UTF-8 "$song" > /dev/null 2>&1 || continue
  sed '1s/^\xEF\xBB\xBF//; s/\r$//' "$song" >> "$one"
  printf '\n\n' >> "$one"
done
: > "$corpus"
while (( $(stat -c %s "$corpus") < 5000000 )); do cat "$one" >> "$corpus"; done
echo "Corpus: $(stat -c %s "$corpus") bytes from $(ls "$songs" | grep -vc '\.md$') songs; $runs runs each"

names=(sonavel-cli chord-transposer chordsheetjs)
commands=("$cli transpose -s 3 $corpus" "node $work/chord-transposer.js $corpus 3" "node $work/chordsheetjs.js $corpus 3")
declare -A times memory stopped
for ((run = 0; run < runs; run++)); do
  for ((i = 0; i < ${#names[@]}; i++)); do
    # Alternate the order, so that no program always runs on a warmer machine.
    j=$(( (i + run) % ${#names[@]} ))
    name=${names[j]}
    [[ -n ${stopped[$name]:-} ]] && continue
    # Wall time to the microsecond (time's own is in hundredths), peak memory from time.
    begin=$EPOCHREALTIME
    if ! timeout "$limit" /usr/bin/time -f "%M" -o "$work/time" ${commands[j]} > /dev/null 2>&1; then
      stopped[$name]=1
      continue
    fi
    seconds=$(awk -v a="$begin" -v b="$EPOCHREALTIME" 'BEGIN { print b - a }')
    read -r kilobytes < "$work/time"
    times[$name]+="$seconds "
    memory[$name]+="$kilobytes "
  done
done

median() { tr ' ' '\n' | grep . | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ours=$(median <<< "${times[sonavel-cli]}")
printf '%-18s %10s %12s %10s\n' program "median s" "peak MB" "ours x"
for name in "${names[@]}"; do
  if [[ -n ${stopped[$name]:-} ]]; then
    printf '%-18s %10s %12s %10s\n' "$name" "> $limit" "-" "> $(awk -v t="$limit" -v o="$ours" 'BEGIN { printf "%.0f", t / o }')"
    continue
  fi
  t=$(median <<< "${times[$name]}")
  m=$(median <<< "${memory[$name]}")
  printf '%-18s %10.3f %12.1f %10.1f\n' "$name" "$t" "$(awk -v k="$m" 'BEGIN { print k / 1024 }')" \
    "$(awk -v t="$t" -v o="$ours" 'BEGIN { print (o > 0 ? t / o : 0) }')"
done
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
