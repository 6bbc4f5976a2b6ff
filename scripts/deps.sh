#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config libgtest-dev libbenchmark-dev libfontconfig-dev libfreetype-dev
          fontconfig fonts-dejavu-core libstb-dev qt6-base-dev clang-format xvfb
          clang libclang-rt-14-dev
          # Qt Designer, its plugin interface and .ui forms (Qt's tools want OpenGL's headers)
          qt6-tools-dev qt6-tools-dev-tools designer-qt6 libqt6opengl6-dev
          # real windows resized and pictured as a user sees them
          xdotool x11-apps imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
