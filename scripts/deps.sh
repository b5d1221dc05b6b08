#!/usr/bin/env bash
# Installs the Debian packages that building, running, testing and packaging
# need (clang and its runtime for the fuzzers in fuzz/; qemu, a kernel and
# busybox for the device tests in tests/vm/; dbus-daemon for a private bus
# in the sleep, notice and desktop tests; poppler and groff to check the
# manual and the manual pages; Wine, MinGW, openbox, sway, foot and node,
# which runs the KWin script and the GNOME extensions, for the game-following
# tests), and those named on the command line, where they are missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev libgl-dev qt6-wayland
    libgtest-dev libgmock-dev libbenchmark-dev
    libxkbcommon-dev libxkbcommon-x11-dev libxcb1-dev libx11-dev libevdev-dev
    libsystemd-dev dbus-daemon
    xvfb xdotool x11-utils x11-xkb-utils
    libwayland-dev
    wine wine64 gcc-mingw-w64-x86-64 openbox sway foot nodejs
    fonts-dejavu-core
    desktop-file-utils appstream
    poppler-utils groff-base man-db systemd
    dpkg-dev file
    qemu-system-x86 linux-image-amd64 busybox-static cpio
    clang libclang-rt-14-dev
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
