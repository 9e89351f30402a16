#!/bin/sh
# Builds what the benchmarks need in a Release folder of their own and runs
# every measurement: start-up, memory, saving, the notes window, RTF, saving
# while typing and idle, each beside its peer (xpad, unrtf) when that is
# installed; start-up with openbox and without a window manager. Nothing is
# installed here.
#
#   bench/run.sh [--counts 1,50,200,1000] [--repeat 3] [--idle 60]
#                [--only startup,saving,noteswindow,rtf,typing,idle] [--wm openbox,none]
#
# Environment: JL_BENCH_BUILD (default <checkout>/build-bench), JL_BENCH_JOBS (2).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${JL_BENCH_BUILD:-$root/build-bench}
jobs=${JL_BENCH_JOBS:-2}

for tool in cmake ninja python3 Xvfb openbox; do
    command -v "$tool" >/dev/null || { echo "bench/run.sh: $tool is needed" >&2; exit 2; }
done

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DJL_TESTS=OFF >/dev/null
cmake --build "$build" -j"$jobs" \
    --target jotletlight jotletctl mapwatch qtfloor bench_rtf bench_storage bench_notes
# The welcome note beside a fresh build would join the measured notes.
rm -f "$build/app/about.jtl" "$build/app/about.jtl2"

data=$build/bench-data
python3 "$root/bench/tools/make_notes.py" --out "$data" --count 1000 \
    --jotletctl "$build/ctl/jotletctl"

exec python3 "$root/bench/tools/measure.py" --data "$data" \
    --jotletlight "$build/app/jotletlight" --jotletctl "$build/ctl/jotletctl" \
    --mapwatch "$build/bench/startup/mapwatch" --qtfloor "$build/bench/startup/qtfloor" \
    --bench-rtf "$build/bench/rtf/bench_rtf" \
    --bench-notes "$build/bench/notes/bench_notes" "$@"
