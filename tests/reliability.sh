#!/usr/bin/env bash
# Hostile conditions for saving with `sonavel-cli --in-place`, which shares
# the editor's writer: kill -9 in the middle of saves, a write that fails
# part-way, files the user may not or should not replace, links, FIFOs and
# folders where files are expected, and a damaged settings store. Every case
# must end with the old bytes or the new ones, never anything between, and
# with no temporary file left once a save has completed.
#
#   tests/reliability.sh path/to/sonavel-cli [kill-tries]
set -uo pipefail

cli=$(realpath "${1:?usage: reliability.sh path/to/sonavel-cli [kill-tries]}")
tries=${2:-100}
work=$(mktemp -d /tmp/sonavel-reliability-XXXXXX)
trap 'chmod -R u+rwX "$work" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"  # never the user's own settings
mkdir -p "$XDG_CONFIG_HOME"
cd "$work" || exit 2

failures=0
started=$SECONDS
check() {  # check NAME CONDITION...
  local name=$1
  shift
  if "$@"; then
    echo "ok    $name"
  else
    echo "FAIL  $name"
    failures=$((failures + 1))
  fi
}
digest() { sha256sum "$1" | cut -d' ' -f1; }
leftovers() { find "$1" -maxdepth 1 -name '.*.sonavel-save-*' | wc -l; }
# Written with sharps, so that a step up and a step down in the key of C
# give back the same bytes.
song() {
  local lines=$1
  awk -v n="$lines" 'BEGIN { for (i = 0; i < n; i++) printf "C   G   Am   F\r\nla la la %d\r\ne|-3-5-7-|\r\n", i }'
}
transpose() { "$cli" transpose -k 0 -s "$1" --in-place "$2" 2>/dev/null; }

# kill -9 at a random moment of each save of a 50 MB song: the file is
# always the old song or the new one.
song 1140000 > big.crd
size_mb=$(($(stat -c %s big.crd) / 1000000))
old=$(digest big.crd)
cp big.crd up.crd
transpose 1 up.crd
new=$(digest up.crd)
rm up.crd
start=$(date +%s%N)
transpose 1 big.crd
transpose -1 big.crd
per_save_ms=$((($(date +%s%N) - start) / 2000000))
state=$old
torn=0
completed=0
orphaned=0  # kills that left a temporary file behind, until a later save
scale=0.9
for ((i = 0; i < tries; i++)); do
  [ "$state" = "$old" ] && steps=1 || steps=-1
  "$cli" transpose -k 0 -s "$steps" --in-place big.crd 2>/dev/null &
  pid=$!
  sleep "$(awk -v r="$RANDOM" -v ms="$per_save_ms" -v k="$scale" 'BEGIN { printf "%.3f", k * (0.8 + r / 32767 * 0.4) * ms / 1000 }')"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  now=$(digest big.crd)
  # Aim the kills at the writing, however loaded the machine is: later
  # after a kill during the reading, earlier after a save that completed.
  if [ "$(leftovers .)" -gt 0 ]; then
    orphaned=$((orphaned + 1))
  elif [ "$now" = "$state" ]; then
    scale=$(awk -v k="$scale" 'BEGIN { print k * 1.15 }')
  else
    scale=$(awk -v k="$scale" 'BEGIN { print k * 0.9 }')
  fi
  if [ "$now" = "$old" ] || [ "$now" = "$new" ]; then
    [ "$now" != "$state" ] && completed=$((completed + 1))
    state=$now
  else
    torn=$((torn + 1))
    cp big.crd "torn-$i.crd"
    state=$now
  fi
done
left_before=$(leftovers .)
[ "$state" = "$old" ] && steps=1 || steps=-1
transpose "$steps" big.crd
echo "      $tries kills of a save of $size_mb MB (one save $per_save_ms ms):" \
  "$completed saves completed, $((tries - completed - torn)) left the old bytes, $torn torn;" \
  "a temporary file left after $orphaned of them;" \
  "$left_before left at the end, $(leftovers .) after the next save"
check "kill -9 during saves leaves the old or the new bytes" [ "$torn" -eq 0 ]
check "the next save removes the temporary files a kill left" [ "$(leftovers .)" -eq 0 ]
rm -f big.crd

# A write that fails part-way (the file-size limit stands in for a full
# disk): an error, the old bytes, nothing left behind.
song 20000 > full.crd
before=$(digest full.crd)
(ulimit -f 64; trap '' XFSZ; "$cli" transpose -k 0 -s 1 --in-place full.crd 2>/dev/null)
status=$?
check "a failed write reports it (status $status)" [ "$status" -eq 2 ]
check "a failed write keeps the old bytes" [ "$(digest full.crd)" = "$before" ]
check "a failed write leaves no temporary file" [ "$(leftovers .)" -eq 0 ]

# A file nobody may write is refused, even by root; one of another user in
# a folder we may write keeps its owner, group and mode.
song 3 > readonly.crd
chmod 0444 readonly.crd
before=$(digest readonly.crd)
transpose 1 readonly.crd
check "a read-only file is refused (status $?)" [ "$(digest readonly.crd)" = "$before" ]
song 3 > shared.crd
chmod 0664 shared.crd
if [ "$(id -u)" -eq 0 ]; then
  chown 4321:4322 shared.crd
  transpose 1 shared.crd
  check "another user's file keeps owner, group and mode" [ "$(stat -c %u:%g:%a shared.crd)" = "4321:4322:664" ]
else
  echo "skip  another user's file (needs root to give a file away)"
fi

# Links: a hard link stays one file, a symbolic link stays a link.
song 3 > target.crd
ln target.crd hard.crd
ln -s target.crd soft.crd
transpose 1 hard.crd
joined=false
[ "$(stat -c %h target.crd)" -eq 2 ] && [ "$(digest hard.crd)" = "$(digest target.crd)" ] && joined=true
check "a hard link stays joined" "$joined"
transpose 1 soft.crd
linked=false
[ -L soft.crd ] && grep -q "^D " target.crd && linked=true
check "a symbolic link stays a link to the saved file" "$linked"

# A FIFO and a folder where a song is expected: a clear error, no hang.
mkfifo fifo.crd
mkdir folder.crd
for odd in fifo.crd folder.crd; do
  timeout 10 "$cli" transpose -s 1 "$odd" > /dev/null 2>&1
  status=$?
  check "$odd as a song is refused without hanging (status $status)" [ "$status" -eq 2 ]
done

# The settings store as a FIFO, a folder, 10 MB of garbage and a short
# garbage file: the tool runs on its defaults and never hangs.
store="$XDG_CONFIG_HOME/Quillon Works/Sonavel/registry.sqlite3"
mkdir -p "$(dirname "$store")"
song 3 > plain.crd
for kind in fifo folder garbage10M garbage; do
  rm -rf "$store"
  case $kind in
    fifo) mkfifo "$store" ;;
    folder) mkdir "$store" ;;
    garbage10M) head -c 10000000 /dev/urandom > "$store" ;;
    garbage) printf 'SQLite format 3\000garbage' > "$store" ;;
  esac
  timeout 10 "$cli" transpose -s 1 plain.crd > out.crd 2>/dev/null
  status=$?
  transposed=false
  [ "$status" -eq 0 ] && grep -q "^C# " out.crd && transposed=true
  check "a store that is a $kind: the song is still transposed (status $status)" "$transposed"
done
rm -rf "$store"

# Two programs saving the settings 500 times each, one changing the steps,
# the other the key: each one's last change is kept and the database stays
# sound.
saver=$(dirname "$cli")/../tests/document/settings_saver
if [ -x "$saver" ]; then
  saving=$SECONDS
  "$saver" steps 500 2>/dev/null &
  "$saver" key 500 2>/dev/null
  wait $!
  read -r steps key integrity < <("$saver" show "$store" 2>/dev/null)
  check "2 x 500 settings saves at once keep both last changes ($steps $key, $((SECONDS - saving)) s)" \
    [ "$steps $key" = "6 17" ]
  check "2 x 500 settings saves leave the store sound ($integrity)" [ "$integrity" = ok ]
else
  echo "skipped: two programs saving settings ($saver is not built)"
fi

echo "$failures failures, $((SECONDS - started)) s"
[ "$failures" -eq 0 ]
