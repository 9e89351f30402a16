#!/usr/bin/env bash
# Builds every libFuzzer target with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, then fuzzes each one for a bounded time on a
# copy of its seed corpus, and prints for each target how many inputs it ran
# and whether it found anything.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
#   SECONDS   time per target, 60 by default
#   TARGET    names as in fuzz/*/CMakeLists.txt (notefile, rtf_reader, ...);
#             all of them by default
#
# The build folder is build-fuzz beside the sources, or JL_FUZZ_BUILD_DIR.
# JL_FUZZ_BUDGET, when set, bounds the whole run in seconds, build included:
# the targets share what the build leaves of it, each at most SECONDS.
# A finding (crash, undefined behaviour, leak, timeout, out of memory) is
# kept with its log in <build folder>/fuzz-findings; replay it with the
# target's binary and the file. Exit status 1 when any target found
# something, 2 when the build fails, 3 when the budget ran out before every
# target had its turn (and nothing was found).
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${JL_FUZZ_BUILD_DIR:-$source_dir/build-fuzz}
seconds=${1:-60}
shift || true
if ! [[ $seconds =~ ^[0-9]+$ ]]; then
    sed -n '2,20p' "$0" >&2
    exit 2
fi

# "name corpus-folder" for each jl_add_fuzz_target call.
all_targets() {
    local cml
    for cml in "$source_dir"/fuzz/*/CMakeLists.txt; do
        tr '\n' ' ' <"$cml" | grep -o 'jl_add_fuzz_target([^)]*)' | while read -r call; do
            local name corpus
            name=$(sed -E 's/^jl_add_fuzz_target\( *([A-Za-z0-9_]+).*/\1/' <<<"$call")
            corpus=$(sed -nE 's/.*CORPUS +([^ )]+).*/\1/p' <<<"$call")
            echo "$name $(dirname "$cml")/$corpus"
        done
    done
}

mapfile -t targets < <(all_targets)
if [ $# -gt 0 ]; then
    wanted=" $* "
    chosen=()
    for entry in "${targets[@]}"; do
        [[ $wanted == *" ${entry%% *} "* ]] && chosen+=("$entry")
    done
    targets=("${chosen[@]}")
fi
if [ ${#targets[@]} -eq 0 ]; then
    echo "fuzz.sh: no such target: $*" >&2
    exit 2
fi

run_logged() {
    local log
    if ! log=$("$@" 2>&1); then
        echo "$log" | tail -40 >&2
        exit 2
    fi
}

budget=${JL_FUZZ_BUDGET:-}
if [ -n "$budget" ] && ! [[ $budget =~ ^[0-9]+$ ]]; then
    echo "fuzz.sh: JL_FUZZ_BUDGET must be a number of seconds" >&2
    exit 2
fi
started=$SECONDS
# Seconds left of the budget (a large number without one).
remaining() {
    if [ -z "$budget" ]; then
        echo 999999
    else
        echo $((budget - (SECONDS - started)))
    fi
}

if [ ! -f "$build_dir/build.ninja" ]; then
    echo "== configuring $build_dir (clang, libFuzzer, ASan, UBSan)"
    run_logged env CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build_dir" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DJL_FUZZ=ON -DJL_TESTS=OFF -DJL_BENCH=OFF
fi
build_targets=()
for entry in "${targets[@]}"; do
    build_targets+=("fuzz_${entry%% *}")
done
echo "== building ${build_targets[*]}"
if [ -n "$budget" ]; then
    if [ "$(remaining)" -le 0 ]; then
        echo "== the budget of $budget s was gone before the build: no target was fuzzed"
        exit 3
    fi
    build_status=0
    timeout "$(remaining)" cmake --build "$build_dir" -j2 --target "${build_targets[@]}" \
        >"$build_dir/fuzz-build.log" 2>&1 || build_status=$?
    if [ "$build_status" -eq 124 ]; then
        echo "== the build took the whole budget of $budget s: no target was fuzzed"
        exit 3
    elif [ "$build_status" -ne 0 ]; then
        tail -40 "$build_dir/fuzz-build.log" >&2
        exit 2
    fi
else
    run_logged cmake --build "$build_dir" -j2 --target "${build_targets[@]}"
fi

findings_dir=$build_dir/fuzz-findings
mkdir -p "$findings_dir"
# Targets that hand their input over as a file write it once per input: a
# file system in memory, where there is one, spares the disk.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    work=$(mktemp -d /dev/shm/jl-fuzz.XXXXXX)
else
    work=$(mktemp -d)
fi
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tmp"
export TMPDIR=$work/tmp
# Undefined behaviour ends the run (the build does not recover from it);
# its report says where it came from.
export UBSAN_OPTIONS="print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

found=0
left_out=0
echo "== fuzzing each target for up to $seconds s"
for index in "${!targets[@]}"; do
    entry=${targets[$index]}
    name=${entry%% *}
    seeds=${entry#* }
    # An equal share of what is left, for this target and those after it.
    share=$(($(remaining) / (${#targets[@]} - index)))
    run_for=$((share < seconds ? share : seconds))
    if [ "$run_for" -lt 5 ]; then
        printf '%-16s out of time, not fuzzed\n' "$name"
        left_out=1
        continue
    fi
    binary=$(find "$build_dir/fuzz" -type f -name "fuzz_$name" -perm -u+x | head -1)
    corpus=$work/$name
    mkdir -p "$corpus"
    [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
    log=$work/$name.log
    touch "$log.start"
    status=0
    (cd "$work" && "$binary" -max_total_time="$run_for" -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$findings_dir/$name-" "$corpus" >"$log" 2>&1) ||
        status=$?
    executions=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -1)
    artifacts=$(find "$findings_dir" -maxdepth 1 -name "$name-*" -newer "$log.start" 2>/dev/null |
        wc -l || true)
    if [ "$status" -ne 0 ] || [ "${artifacts:-0}" -gt 0 ]; then
        found=1
        cp "$log" "$findings_dir/$name.log"
        printf '%-16s %10s executions  FOUND SOMETHING (exit %d): %s\n' "$name" \
            "${executions:-?}" "$status" "$findings_dir/$name.log"
        grep -m3 -E 'ERROR|runtime error|SUMMARY|deadly signal|Test unit written' "$log" |
            sed 's/^/    /'
    else
        printf '%-16s %10s executions  nothing found\n' "$name" "${executions:-?}"
    fi
done
if [ "$found" -ne 0 ]; then
    exit 1
fi
exit $((left_out ? 3 : 0))
