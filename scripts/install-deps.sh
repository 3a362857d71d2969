#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the player need.
# Fast when everything is present: apt is only touched for what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-l10n-tools qt6-translations-l10n
  libfluidsynth-dev fluid-soundfont-gm timgm6mb-soundfont libpipewire-0.3-dev libpulse-dev
  libasound2-dev
  libarchive-dev libuchardet-dev
  fonts-ipafont-gothic fonts-liberation
  googletest libgtest-dev libbenchmark-dev
  clang desktop-file-utils appstream man-db
  dpkg-dev
  dbus-daemon
  dbus-bin python3 xvfb openbox xdotool x11-utils imagemagick
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
