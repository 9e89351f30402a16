#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the unit tests
# and fuzz corpora under AddressSanitizer and UndefinedBehaviorSanitizer,
# a run of every fuzzer within a time budget of its own, the Debian package
# with the distribution's checks of it, then the whole suite on the normal
# build, whose CTest summary ends the output. A fuzzer's finding fails the
# run (after the suite has run); a fuzz build too slow for its budget only
# says so.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --checks
jobs=$(nproc)

echo "== sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DJL_SANITIZE=ON -DJL_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest -L 'unit|fuzz-corpus' -j "$jobs" --output-on-failure)

echo "== fuzzing: every reader of outside data, a minute each, 15 minutes in all"
fuzz_status=0
JL_FUZZ_BUDGET=${JL_FUZZ_BUDGET:-900} scripts/fuzz.sh "${JL_FUZZ_SECONDS:-60}" || fuzz_status=$?
case $fuzz_status in
0) fuzz_verdict="" ;;
3) echo "== fuzzing ran out of its time budget (see above); nothing was found" ;;
1) fuzz_verdict="FUZZING FOUND A PROBLEM: see build-fuzz/fuzz-findings" ;;
*) fuzz_verdict="THE FUZZ BUILD FAILED (exit $fuzz_status)" ;;
esac

echo "== Debian package: dpkg-buildpackage, lintian, appstreamcli (at most 20 minutes)"
# Its unit tests are those of the normal build below.
DEB_BUILD_OPTIONS=nocheck timeout 20m scripts/package.sh

echo "== normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
cd build
suite_status=0
ctest -j "$jobs" --output-on-failure || suite_status=$?
if [ -n "${fuzz_verdict:-}" ]; then
    echo "== $fuzz_verdict"
    exit 1
fi
exit "$suite_status"
