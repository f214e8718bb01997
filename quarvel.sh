#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine for Quarvel, builds it, and then either
# starts Vantrel on the bundled sample course or runs the whole test suite.
#
#   ./quarvel.sh run     build and start Vantrel
#   ./quarvel.sh test    build and run every test (under Xvfb when needed)
#   ./quarvel.sh build   only install what is missing and build
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  qt6-webengine-dev qt6-multimedia-dev qt6-svg-dev libqt6opengl6-dev libqt6svg6
  qt6-qpa-plugins qt6-image-formats-plugins libgl-dev libgl1-mesa-dri
  libhunspell-dev hunspell-en-gb fonts-dejavu-core libassimp-dev libglu1-mesa-dev qt6-pdf-dev
  xvfb xauth
)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local su=()
  [ "$(id -u)" -eq 0 ] || su=(sudo)
  "${su[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${su[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)"
}

# The browser component refuses its sandbox when run as root.
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1

case "${1:-}" in
  run)
    install_missing; build
    exec build/bin/vantrel "${@:2}" ;;
  test)
    install_missing; build
    cd build
    if [ -n "${DISPLAY:-}" ] && [ "${QUARVEL_USE_DISPLAY:-0}" = 1 ]; then
      ctest --output-on-failure
    else
      xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure
    fi ;;
  build)
    install_missing; build ;;
  *)
    sed -n '2,8p' "$0"; exit 2 ;;
esac
