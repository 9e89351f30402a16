#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need,
# when any is missing (as root, or through sudo).
#
#   scripts/install-deps.sh [--checks]
#
# --checks adds what only scripts/test.sh needs: LibreOffice for the RTF
# tests, the StatusNotifierItem tray, the Wayland session and Syncthing of
# the end-to-end tests, and the Debian package build with the
# distribution's checks of it.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
    # tests, benchmarks, fuzzing
    libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
    # a real desktop for the end-to-end tests and screenshots
    python3 xvfb xauth openbox trayer xdotool x11-utils imagemagick
    # fonts the notes and the tests render with
    fonts-dejavu-core fonts-liberation2
)
checks=(
    # LibreOffice reads the notes' RTF in the rich-text tests (Writer alone, no GUI)
    libreoffice-writer-nogui
    # a StatusNotifierItem watcher on a private session bus; a Wayland session
    dbus-daemon python3-gi mutter xwayland
    # two computers keeping one note folder in sync
    syncthing
    # the Debian package (scripts/package.sh): its build and its checks
    build-essential debhelper dpkg-dev scdoc lintian appstream desktop-file-utils
)
case ${1:-} in
"") ;;
--checks) packages+=("${checks[@]}") ;;
*)
    echo "usage: scripts/install-deps.sh [--checks]" >&2
    exit 2
    ;;
esac

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
