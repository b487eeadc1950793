#!/usr/bin/env bash
# Shared by ./run and ./test: installs the Debian packages the project needs
# (only those missing), then configures and builds into the given directory.
#   scripts/setup.sh <build-dir> [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  g++ cmake ninja-build pkg-config clang libclang-rt-14-dev mold
  zlib1g-dev libfreetype-dev libfontconfig-dev libsdl2-dev
  libx11-dev libxext-dev libxtst-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev libpixman-1-dev
  fonts-liberation fonts-dejavu-core fonts-wine
  xvfb xauth openbox xcompmgr xdotool
  adwaita-icon-theme hicolor-icon-theme shared-mime-info
  libdbus-1-dev dbus dbus-daemon dbus-x11
  libjpeg62-turbo-dev libmd-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "Installing missing packages: ${missing[*]}"
  SUDO=()
  if [ "$(id -u)" -ne 0 ]; then SUDO=(sudo); fi
  "${SUDO[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir=$1
shift
# The options go to every configure, not only the first: a build folder made
# earlier with other options takes these over (CMake keeps whatever is not
# given again from its cache).
generator=()
if [ ! -f "$build_dir/CMakeCache.txt" ]; then generator=(-G Ninja); fi
cmake -S . -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build_dir"
