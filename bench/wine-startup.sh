#!/usr/bin/env bash
# Times the Windows program's start under Wine: from starting ievantrel.exe to its main window shown on a virtual
# screen, with the default list, in a warmed-up Wine prefix. Beside it, in the same prefix and the same run, two
# floors: Wine's, bench/WineFloor.c, a program that shows one window and does nothing else, built with the same
# mingw-w64 compiler; and Qt's, bench/qt-floor, one empty Qt Widgets window, built against the same Qt for Windows.
# The three start in turn, each window is closed as its close box would close it, and the medians are written as
# benchmark results (JSON, in Google Benchmark's form) for scripts/bench.sh.
#
# Usage: VANTREL_QT_WINDOWS=<Qt for Windows> wine-startup.sh <the Windows zip> <result file> [starts]
# (scripts/build-qt-windows.sh prints the Qt's folder).
set -euo pipefail

zip=$(realpath "$1")
result=$(realpath -m "$2")
starts=${3:-9}
here=$(cd "$(dirname "$0")" && pwd)
qt=${VANTREL_QT_WINDOWS:?set VANTREL_QT_WINDOWS to the Qt for Windows that the Qt floor is built with}

source "$here/../scripts/virtual-screen.sh"
run_on_virtual_screen "$0" "$@"

work=$(mktemp -d)
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'timeout 30 wineserver -k 2>/dev/null || true; kill "${window_manager_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

# -municode: its entry point is wWinMain; -mwindows: a window program, no console; -static as the exe is linked.
x86_64-w64-mingw32-gcc-posix -std=c11 -O2 -Wall -Wextra -Wpedantic -Werror -municode -mwindows -static \
    -o "$work/WineFloor.exe" "$here/WineFloor.c"
cmake -S "$here/qt-floor" -B "$work/qt-floor" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$here/../cmake/mingw-w64.cmake" >/dev/null
cmake --build "$work/qt-floor" >/dev/null
python3 -m zipfile -e "$zip" "$work"
exe=$(find "$work" -maxdepth 2 -name ievantrel.exe | head -n 1)
[ -n "$exe" ] || { echo "no ievantrel.exe in $zip" >&2; exit 1; }

mkdir -p "$WINEPREFIX"
timeout 60 wineserver -p
timeout 300 wineboot -i >/dev/null 2>&1 || { echo "wineboot did not prepare the prefix" >&2; exit 1; }
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
start_window_manager

# Starts the program, waits up to 30 seconds for its window, sets `elapsed` to the milliseconds from the start
# to the window shown, then closes the window as its close box would and waits for the program to end.
time_start() {
    local program=$1 title=$2 begin end window= pid deadline
    begin=$(date +%s%N)
    wine "$program" >/dev/null 2>&1 &
    pid=$!
    # xdotool's own --sync waits in half seconds: ask every 10 ms instead.
    deadline=$((SECONDS + 30))
    while [ "$SECONDS" -lt "$deadline" ]; do
        window=$(visible_windows "$title" | head -n 1) && [ -n "$window" ] && break
        sleep 0.01
    done
    end=$(date +%s%N)
    [ -n "$window" ] || { echo "no window titled $title showed within 30 seconds" >&2; return 1; }
    elapsed=$(((end - begin) / 1000000))
    close_window "$window" "$title" || return 1
    process_gone "$pid" || { echo "$(basename "$program") did not end when its window closed" >&2; return 1; }
    wait "$pid" || { echo "$(basename "$program") ended with status $? after its window closed" >&2; return 1; }
}

# One start of each first, unmeasured: Wine loads and caches its own libraries on the first.
time_start "$exe" '^IE Vantrel v2\.00$'
time_start "$work/qt-floor/QtFloor.exe" '^Qt Floor$'
time_start "$work/WineFloor.exe" '^Wine Floor$'
exe_times=() qt_floor_times=() floor_times=()
for _ in $(seq "$starts"); do
    time_start "$exe" '^IE Vantrel v2\.00$'
    exe_times+=("$elapsed")
    time_start "$work/qt-floor/QtFloor.exe" '^Qt Floor$'
    qt_floor_times+=("$elapsed")
    time_start "$work/WineFloor.exe" '^Wine Floor$'
    floor_times+=("$elapsed")
done

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
exe_median=$(median "${exe_times[@]}")
qt_floor_median=$(median "${qt_floor_times[@]}")
floor_median=$(median "${floor_times[@]}")
echo "Starts under Wine (ms): ievantrel.exe ${exe_times[*]}, median $exe_median;" \
    "QtFloor.exe ${qt_floor_times[*]}, median $qt_floor_median;" \
    "WineFloor.exe ${floor_times[*]}, median $floor_median" >&2
row() {
    printf '{"run_name": "%s", "run_type": "aggregate", "aggregate_name": "median", "real_time": %s, "cpu_time": 0, "time_unit": "ms"}' "$1" "$2"
}
printf '{"benchmarks": [%s, %s, %s]}\n' "$(row ExeStartUnderWine "$exe_median")" \
    "$(row QtFloorStartUnderWine "$qt_floor_median")" "$(row WineFloorStartUnderWine "$floor_median")" >"$result"
