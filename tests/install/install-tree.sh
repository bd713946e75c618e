#!/usr/bin/env bash
# Installs the build into a folder of its own and checks the tree a package
# is made of: the programs and their files, and that the desktop's own tools
# accept what tells the desktop about them.
#
# Usage: install-tree.sh CMAKE BUILD_DIR GUI_BUILT VERSION
# Exits 77 (skipped) when the editor is not built.
set -uo pipefail

cmake=$1 build=$2 gui=$3 version=$4
if [ "$gui" != 1 ]; then
  echo "the editor is not built: nothing to install beside sonavel-cli"
  exit 77
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix=$root/prefix
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# Runs a checker that must succeed and say nothing on standard error.
quiet() {
  local what=$1 errors
  shift
  if ! errors=$("$@" 2>&1 >/dev/null) || [ -n "$errors" ]; then fail "$what: $errors"; fi
}
# Runs a checker that must succeed and say nothing at all.
silent() {
  local what=$1 said
  shift
  if ! said=$("$@" 2>&1) || [ -n "$said" ]; then fail "$what: $said"; fi
}
# Runs a checker that must succeed.
passes() {
  local what=$1 said
  shift
  said=$("$@" 2>&1) || fail "$what: $said"
}

if ! "$cmake" --install "$build" --prefix "$prefix" >"$root/install.log" 2>&1; then
  cat "$root/install.log"
  fail "cmake --install"
  exit 1
fi
share=$prefix/share

# The programs, and nothing else, in bin/.
for program in sonavel sonavel-cli; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is missing or not executable"
done
extra=$(ls "$prefix/bin" | grep -vx -e sonavel -e sonavel-cli)
[ -z "$extra" ] || fail "bin/ holds more than the programs: $extra"
"$prefix/bin/sonavel-cli" --help >/dev/null 2>&1 || fail "the installed sonavel-cli --help fails"

# The files the editor opens from its data folder.
for name in "ReadMe (english).txt" readme.txt; do
  [ -s "$share/sonavel/$name" ] || fail "share/sonavel/$name is missing"
done
file -b "$share/sonavel/gtuner.mid" | grep -q "^Standard MIDI data" || fail "share/sonavel/gtuner.mid is not a MIDI file"

# The desktop entry opens the four song types with the program on the PATH.
entry=$share/applications/sonavel.desktop
if [ -f "$entry" ]; then
  silent "desktop-file-validate" desktop-file-validate "$entry"
  grep -qx 'Exec=sonavel /dde %f' "$entry" || fail "the desktop entry does not start sonavel from the PATH"
  mime_types=$(sed -n 's/^MimeType=//p' "$entry" | tr ';' ' ')
  [ "$(echo $mime_types | wc -w)" = 4 ] || fail "the desktop entry lists [$mime_types], not the four song types"
  icon=$(sed -n 's/^Icon=//p' "$entry")
else
  fail "share/applications/sonavel.desktop is missing"
  mime_types="" icon=""
fi

# The MIME packages are well formed and define every type the entry lists,
# each with its file name pattern.
packages=("$share"/mime/packages/*.xml)
[ -f "${packages[0]}" ] || fail "no MIME package in share/mime/packages"
mime=$root/mime
mkdir -p "$mime/packages"
for package in "${packages[@]}"; do
  [ -f "$package" ] || continue
  quiet "xmllint ${package##*/}" xmllint --noout "$package"
  cp "$package" "$mime/packages/"
done
# The folder stands in the search path only to keep the tool from warning.
quiet "update-mime-database" env XDG_DATA_HOME="$root" XDG_DATA_DIRS="$root" update-mime-database "$mime"
for type in $mime_types; do
  grep -q "^[0-9]*:$type:\*\.[a-z]*$" "$mime/globs2" 2>/dev/null || fail "no package gives $type a file pattern"
done
document_icons=$(sed -n 's/.*<icon name="\([^"]*\)".*/\1/p' "${packages[@]}" | sort -u)
[ -n "$document_icons" ] || fail "the MIME packages name no icon"

# Every icon the desktop entry and the packages name, scalable and drawn at
# every size.
check_icon() {
  local name=$1 context=$2 size picture
  [ -s "$share/icons/hicolor/scalable/$context/$name.svg" ] || fail "no scalable $context/$name icon"
  for size in 16 24 32 48 64 128 256; do
    picture=$share/icons/hicolor/${size}x$size/$context/$name.png
    file -b "$picture" | grep -q "^PNG image data, $size x $size," ||
      fail "${picture#"$prefix"/} is not a $size x $size PNG picture: $(file -b "$picture")"
  done
}
[ -n "$icon" ] && check_icon "$icon" apps
for name in $document_icons; do check_icon "$name" mimetypes; done

# The AppStream description: valid, for this version, launching this entry.
metainfo=$share/metainfo/io.github.quillonworks.Sonavel.metainfo.xml
if [ -f "$metainfo" ]; then
  passes "appstreamcli validate" appstreamcli validate --no-net "$metainfo"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
  grep -q '<launchable type="desktop-id">sonavel.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch sonavel.desktop"
else
  fail "the metainfo file is missing"
fi

# The manual pages render without a warning.
for page in sonavel.1.gz sonavel-cli.1.gz; do
  if [ -f "$share/man/man1/$page" ]; then
    quiet "man $page" env LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$page"
  else
    fail "share/man/man1/$page is missing"
  fi
done

# The tool's page and its completion know every option the tool lists.
options=$("$prefix/bin/sonavel-cli" --help 2>/dev/null | grep -o -- '--[a-z][a-z-]*' | sort -u)
[ -n "$options" ] || fail "sonavel-cli --help names no option"
page_text=$(LC_ALL=C.UTF-8 MANWIDTH=1000 man -l "$share/man/man1/sonavel-cli.1.gz" 2>/dev/null)
for option in $options; do
  grep -q -- "$option\b" <<<"$page_text" || fail "the manual page of sonavel-cli does not know $option"
  grep -q -- "$option\b" "$share/bash-completion/completions/sonavel-cli" 2>/dev/null ||
    fail "the completion does not know $option"
done

# The completion offers keys, formats and song files.
completion=$share/bash-completion/completions/sonavel-cli
if [ -f "$completion" ]; then
  quiet "bash -n" bash -n "$completion"
  songs=$root/songs
  mkdir -p "$songs/folder"
  touch "$songs/a.crd" "$songs/b.chopro" "$songs/c.pdf"
  # Prints what bash offers for the words given, the last one being completed.
  offered() {
    (cd "$songs" && bash -c '
      source /usr/share/bash-completion/bash_completion && source "$0"
      COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
      _sonavel_cli sonavel-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
      printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' "$completion" "$@" 2>&1)
  }
  expect() {
    local want=$1 got
    shift
    got=$(offered "$@")
    [ "$got" = "$want" ] || fail "completing [$*] offers [$got], not [$want]"
  }
  if [ -f /usr/share/bash-completion/bash_completion ]; then
    expect "colorize " sonavel-cli co
    expect "D D# Db " sonavel-cli transpose -k D
    expect "html " sonavel-cli colorize --format h
    expect "--in-place " sonavel-cli transpose --in
    expect "a.crd b.chopro folder " sonavel-cli transpose ""
  fi
else
  fail "the bash completion is missing"
fi

[ "$failures" = 0 ] || exit 1
echo "the installed tree is complete"
