#!/usr/bin/env bash
# Installs the Debian packages Glyfora needs to build, test and run, when any is missing.
set -euo pipefail

packages=(
    cmake g++ clang libclang-rt-14-dev ninja-build pkg-config
    qt6-base-dev libqt6opengl6-dev
    libfreetype-dev libharfbuzz-dev libfontconfig-dev libpng-dev zlib1g-dev libexpat1-dev libstb-dev
    nlohmann-json3-dev
    libgtest-dev libbenchmark-dev
    clang-format universal-ctags python3
    xvfb xauth libgl1-mesa-dri xdotool imagemagick openbox
    fonts-dejavu-core fonts-urw-base35 fonts-wqy-zenhei python3-fonttools
    librsvg2-bin dpkg-dev desktop-file-utils appstream shared-mime-info
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo_cmd=(sudo)
    fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
