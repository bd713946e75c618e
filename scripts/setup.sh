#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the GUI checks need.
# Idempotent: packages already present are not touched, and apt is only
# consulted when something is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev libcli11-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
  qt6-svg-dev libx11-dev
  libgl-dev
  xvfb xauth xdotool
  # registering the file types with the desktop, and checking it (gio answers xdg-mime)
  desktop-file-utils xdg-utils shared-mime-info libglib2.0-bin
  # the installed tree: man pages from their sources, and the checks of what is installed
  scdoc man-db appstream libxml2-utils file bash-completion
  # the Debian package (dpkg-shlibdeps finds its dependencies)
  dpkg-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
