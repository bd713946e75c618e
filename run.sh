#!/usr/bin/env bash
# Installs what the build needs, builds Sonavel (release) and starts it on
# the demo song. Arguments are passed to the editor instead of the demo song.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DSONAVEL_BUILD_TESTS=OFF -DSONAVEL_BUILD_BENCH=OFF
cmake --build build -j"$(nproc)"

demo=samples/demo.crd
if [ -x build/shell/sonavel ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to show the editor on. To run it without one:"
    echo "  xvfb-run -s '-screen 0 1280x900x24' build/shell/sonavel ${*:-$demo}"
    echo
    echo "Meanwhile, the demo song as the editor colours it:"
    build/cli/sonavel-cli colorize --format ansi "$demo"
    exit 0
  fi
  exec build/shell/sonavel "${@:-$demo}"
fi

# Without the editor (Qt missing), show the song through the command-line tool.
build/cli/sonavel-cli colorize --format ansi "${1:-$demo}"
