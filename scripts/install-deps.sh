#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need,
# when any is missing (as root, or through sudo).
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
    # tests, benchmarks, fuzzing
    libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
    # LibreOffice reads the notes' RTF in the rich-text tests (Writer alone, no GUI)
    libreoffice-writer-nogui
    # a real desktop for the end-to-end tests and screenshots
    xvfb xauth openbox trayer xdotool x11-utils imagemagick
    # fonts the notes and the tests render with
    fonts-dejavu-core fonts-liberation2
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
