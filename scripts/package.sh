#!/usr/bin/env bash
# Builds the Debian package with dpkg-buildpackage from a copy of this
# checkout and checks it with the distribution's tools: lintian on the
# package, appstreamcli and desktop-file-validate on the files it installs.
#
#   scripts/package.sh [OUTPUT_FOLDER]
#
# The package, its build log and the checks' reports end up in the output
# folder, build-deb beside the sources by default. DEB_BUILD_OPTIONS is
# passed on (add "nocheck" to skip the unit tests of the package build).
# The exit status is not 0 when the build or a check fails.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$source_dir/build-deb}

# One version for the program, its package and its metainfo.
version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
project_version=$(sed -nE 's/^project\([A-Za-z]+ VERSION ([0-9.]+).*/\1/p' "$source_dir/CMakeLists.txt")
if [ "$version" != "$project_version" ]; then
    echo "package.sh: debian/changelog has version $version, CMakeLists.txt $project_version" >&2
    exit 1
fi
if ! grep -q "<release version=\"$version\"" "$source_dir"/resources/desktop/*.metainfo.xml; then
    echo "package.sh: the metainfo has no release $version" >&2
    exit 1
fi

# dpkg-buildpackage builds in the tree and writes the package beside it, so
# it works on a copy without the build folders.
rm -rf "$out"
mkdir -p "$out/source"
tar -C "$source_dir" --exclude='./build*' --exclude='./obj-*' --exclude=./.git \
    --exclude=./.cache -cf - . | tar -C "$out/source" -xf -

echo "== dpkg-buildpackage (log: $out/build.log)"
(
    cd "$out/source"
    dpkg-checkbuilddeps
    DEB_BUILD_OPTIONS="parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}" \
        dpkg-buildpackage --build=binary --no-sign
) >"$out/build.log" 2>&1 || {
    tail -40 "$out/build.log" >&2
    exit 1
}
ls "$out"/*.deb

echo "== lintian"
# Errors and warnings fail; info and pedantic tags are shown.
lintian --display-info --pedantic --fail-on error,warning \
    "$out"/jotletlight_"$version"_*.changes | tee "$out/lintian.txt"
[ -s "$out/lintian.txt" ] || echo "lintian: no tags"

echo "== appstreamcli and desktop-file-validate on the installed files"
dpkg-deb --extract "$out"/jotletlight_"$version"_*.deb "$out/installed"
appstreamcli validate-tree --pedantic --no-net "$out/installed"
desktop-file-validate "$out"/installed/usr/share/applications/*.desktop
echo "== the package passed its checks ($SECONDS s)"
