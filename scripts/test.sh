#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the unit tests
# and fuzz corpora under AddressSanitizer and UndefinedBehaviorSanitizer,
# a bounded run of every fuzzer, the Debian package with the distribution's
# checks of it, then the whole suite on the normal build, whose CTest summary
# ends the output.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --checks
jobs=$(nproc)

echo "== sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DJL_SANITIZE=ON -DJL_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest -L 'unit|fuzz-corpus' -j "$jobs" --output-on-failure)

echo "== fuzzing: every reader of outside data, a minute each"
# A finding is printed with its saved input, but does not stop the run.
scripts/fuzz.sh 60 || echo "== FUZZING FOUND A PROBLEM: see build-fuzz/fuzz-findings"

echo "== Debian package: dpkg-buildpackage, lintian, appstreamcli (at most 20 minutes)"
# Its unit tests are those of the normal build below.
DEB_BUILD_OPTIONS=nocheck timeout 20m scripts/package.sh

echo "== normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
cd build
ctest -j "$jobs" --output-on-failure
