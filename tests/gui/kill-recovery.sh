#!/usr/bin/env bash
# The real editor killed with SIGKILL a few seconds after an edit: its
# recovery file is there, private, and the next start brings the edit back;
# saving leaves the folder empty and the song holding the edit.
# Usage: kill-recovery.sh PROGRAM. Runs itself on a display of its own
# (xvfb-run), so that the keys it types with xdotool reach no other window.
set -euo pipefail
program=$1
if [[ -z "${KILL_RECOVERY_DISPLAY:-}" ]]; then
  # -noreset: the server would otherwise reset when the killed program,
  # its last client, goes, and refuse the next start while it does.
  KILL_RECOVERY_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x900x24 -noreset" "$0" "$@"
fi

home=$(mktemp -d)
trap '{ kill "${pid:-}" && wait "${pid:-}"; } 2>/dev/null || true; rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
export XDG_STATE_HOME=$home/state XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run
unset QT_QPA_PLATFORM
song=$home/song.crd
printf 'Am G\r\nla la\r\n' >"$song"
kept=$XDG_STATE_HOME/sonavel

fail() { echo "FAIL: $*" >&2; exit 1; }
# The program's first visible window, once it has one.
window_of() {
  for _ in $(seq 300); do
    xdotool search --pid "$1" --onlyvisible 2>/dev/null | head -1 && return 0
    sleep 0.1
  done
  fail "no window"
}
# The titles of the program's visible windows, one a line.
titles_of() {
  for w in $(xdotool search --pid "$1" --onlyvisible 2>/dev/null); do xdotool getwindowname "$w"; done
}
wait_for() {
  for _ in $(seq 300); do eval "$1" && return 0; sleep 0.1; done
  fail "$2"
}

"$program" "$song" &
pid=$!
wait_for '[[ $(titles_of $pid) == *"[song.crd]"* ]]' "the song did not open"
xdotool windowfocus --sync "$(window_of $pid)"
# xdotool may drop a key or its Shift on a display that has just started,
# so what is checked below is whatever edit arrived, not the keys sent.
xdotool type --delay 30 "Dm "
# The store makes the file empty and private before it fills it.
wait_for 'f=$(compgen -G "$kept/*.recovery") && [[ -s $f ]]' "no recovery file after the edit"
kill -9 $pid
wait $pid 2>/dev/null || true
file=$(compgen -G "$kept/*.recovery")
[[ $(stat -c %a "$kept") == 700 && $(stat -c %a "$file") == 600 ]] || fail "recovery file readable by others"
edited=$(grep -m1 "Am G$" "$file") || fail "the song is not in the recovery file"
[[ $edited != "Am G" ]] || fail "the edit is not in the recovery file: $(cat "$file")"

"$program" &
pid=$!
# The question's window has the program's name alone.
wait_for 'titles_of $pid | grep -qx Sonavel' "no recovery question"
xdotool key Return
wait_for '[[ $(titles_of $pid) == *"[song.crd*]"* ]]' "the song did not come back"
xdotool key ctrl+s
wait_for '[[ $(cat "$song") == "$edited"$'"'"'\r\nla la\r'"'"' ]]' "the song was not saved with the edit"
[[ -z $(ls -A "$kept") ]] || fail "the recovery file outlived the save"
echo "PASS: the edit came back after kill -9 and went with the save"
