#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: natively (then the formatting and clang-tidy gates, and
# one untimed pass of each benchmark), under AddressSanitizer and UndefinedBehaviorSanitizer, the core
# cross-compiled for Windows under Wine, and the Windows program under Wine. Fails on the first failure.
#
# Usage: test.sh [--quick]   --quick: only the native build, its tests and the lint gate, for the edit-build-test
#                            loop; without it, everything, as CI runs it.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=
case "${1:-}" in
'') ;;
--quick) quick=1 ;;
*)
    echo "usage: $0 [--quick]" >&2
    exit 2
    ;;
esac

scripts/install-deps.sh

jobs=$(nproc)
# Let ccache reuse what an earlier build compiled in another clone of the repository.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

stage() { printf '\n==== %s ====\n' "$*"; }

stage "Native build and tests"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs" -LE 'browsers|bench-smoke'

stage "The exports in Debian's Firefox and Chromium"
ctest --preset dev -L browsers --output-on-failure

stage "Formatting and clang-tidy"
scripts/lint.sh
[ -z "$quick" ] || exit 0

# The dev build has compiled the benchmarks (so --quick catches one that no longer builds); this runs each once,
# untimed, which for the Wine registry import's benchmark means a Wine prefix and a 10,000-key import.
stage "Benchmarks: one untimed pass of each"
smoke_start=$SECONDS
ctest --preset dev -L bench-smoke
echo "Benchmark smoke run: $((SECONDS - smoke_start)) s"

stage "Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --preset sanitize -j "$jobs" -LE browsers

stage "Windows core build and tests under Wine"
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
scripts/wine-env.sh ctest --preset mingw

stage "Windows program: built against Qt for Windows, driven under Wine"
zip=$(scripts/build-windows.sh | tail -n 1)
ls -l "$zip"
tests/e2e/drive-program.sh "$zip" "resources/Search Engines.bak" build/windows/screenshots
tests/e2e/command-line.sh "$zip" "resources/Search Engines.bak"

stage "The README's screenshots, from this run"
cp build/dev/screenshots/{main-window,editor,about}.png docs/screenshots/
cp build/windows/screenshots/main-window.png docs/screenshots/main-window-wine.png
cp build/windows/screenshots/editor.png docs/screenshots/editor-wine.png

stage "Debian package: contents, install, first start of the launcher"
scripts/test-package.sh

stage "Fuzzing the record line, the list file reader and the store file reader"
scripts/fuzz.sh
printf '\nTests: %d non-blank lines, %d%% of src/ (%d)\n' $(t=$(git ls-files -z tests | xargs -0 grep -Ihv '^[[:space:]]*$' | wc -l); s=$(git ls-files -z src | xargs -0 grep -Ihv '^[[:space:]]*$' | wc -l); echo "$t $((100 * t / s)) $s")
