#!/usr/bin/env bash
# Installs with apt-get whatever the build, the tests and the program need and this machine lacks (Debian 12, root).
set -euo pipefail

packages=(
    cmake ninja-build g++ ccache pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-wine
    xvfb xauth xdotool wmctrl x11-utils imagemagick openbox python3 librsvg2-bin
    g++-mingw-w64-x86-64 wine wine64
    clang libclang-rt-14-dev clang-format-14 clang-tidy-14
    dpkg-dev file time desktop-file-utils
    firefox-esr chromium sqlite3 python3-lz4
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        sudo=sudo
    else
        sudo=
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
