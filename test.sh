#!/usr/bin/env bash
# Installs what the build needs, builds Sonavel with its tests and runs every
# test headless.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSONAVEL_BUILD_TESTS=ON -DSONAVEL_BUILD_BENCH=ON
cmake --build build-test -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-test --output-on-failure -j"$(nproc)" --timeout 300

# Saving under kill -9, failed writes, links, read-only files and odd stores.
tests/reliability.sh build-test/cli/sonavel-cli
