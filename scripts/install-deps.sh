#!/usr/bin/env bash
# Installs the Debian packages Lumetra builds and tests with. Safe to run
# again: only what is missing is installed.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libglu1-mesa-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libftdi1-dev libasound2-dev libsndfile1-dev libsamplerate0-dev libdbus-1-dev libaubio-dev
  sox fluidsynth fluid-soundfont-gm aubio-tools
  ola libola-dev
  qt6-httpserver-dev qt6-websockets-dev liblo-dev liblo-tools chromium nodejs
  xvfb xauth fonts-dejavu-core
  libxcb1-dev xdotool
  desktop-file-utils appstream dpkg-dev
)

# npm comes with some builds of nodejs; Debian's own nodejs needs the npm
# package beside it.
if ! command -v npm >/dev/null 2>&1; then
  PACKAGES+=(npm)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# The ola package starts the system's olad as soon as it is installed, with
# every plugin at its defaults (Art-Net and others on the network). The tests
# start an olad of their own on 127.0.0.1, so the install is told not to start
# services (the policy-rc.d hook of invoke-rc.d), unless a policy is there
# already.
POLICY=/usr/sbin/policy-rc.d
OWN_POLICY=0
if [ ! -e "$POLICY" ]; then
  printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$POLICY" >/dev/null
  $SUDO chmod 755 "$POLICY"
  OWN_POLICY=1
fi
status=0
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" || status=$?
if [ "$OWN_POLICY" -eq 1 ]; then
  $SUDO rm -f "$POLICY"
fi
exit $status
