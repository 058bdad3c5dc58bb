#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and runs each for
# FUZZ_SECONDS (60 by default), starting from its committed seeds. A crash or a broken round trip fails, and
# the input that caused it is left under build/fuzz-artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD:-build/fuzz}
artifacts=build/fuzz-artifacts

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)"
mkdir -p "$artifacts"

# target and the longest input worth trying: a record line, a list file, a store file in UTF-16.
targets=(RecordLineFuzzer:4096 EngineListFuzzer:16384 RegFileFuzzer:32768)
for entry in "${targets[@]}"; do
    target=${entry%%:*}
    max_len=${entry##*:}
    # The corpus grows in the build folder; the committed seeds stay as they are.
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    log=$build/$target.log
    echo "Fuzzing $target for ${seconds} s"
    if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$build/fuzz/$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$corpus" "fuzz/corpus/$target" \
        >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$target failed; the input is under $artifacts/" >&2
        exit 1
    fi
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" | sed "s/^/  $target /"
done
