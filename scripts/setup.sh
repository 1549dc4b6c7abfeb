#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Halvora need.
# Does nothing when they are all present.
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build pkg-config git
  qt6-base-dev libgl-dev
  libcrypto++-dev zlib1g-dev libcurl4-openssl-dev libjpeg62-turbo-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libcpp-httplib-dev nlohmann-json3-dev fonts-dejavu-core
  libsqlite3-dev
  binutils binutils-mingw-w64-i686 cpp
  desktop-file-utils
)
# The Qur'an translation data comes from the npm registry.
command -v npm >/dev/null 2>&1 || PACKAGES+=(npm)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
