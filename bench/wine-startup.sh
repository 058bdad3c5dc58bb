#!/usr/bin/env bash
# Times the Windows program's start under Wine: from starting ievantrel.exe to its main window shown on a virtual
# screen, with the default list, in a warmed-up Wine prefix. Writes the median of the starts as a benchmark result
# (JSON, in Google Benchmark's form) for scripts/bench.sh.
#
# Usage: wine-startup.sh <the Windows zip> <result file> [starts]
set -euo pipefail

zip=$(realpath "$1")
result=$(realpath -m "$2")
starts=${3:-7}
here=$(cd "$(dirname "$0")" && pwd)

source "$here/../scripts/virtual-screen.sh"
run_on_virtual_screen "$0" "$@"

work=$(mktemp -d)
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; kill "${window_manager_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$WINEPREFIX"
wineserver -p
wineboot -i >/dev/null 2>&1
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
python3 -m zipfile -e "$zip" "$work"
exe=$(find "$work" -maxdepth 2 -name ievantrel.exe | head -n 1)
start_window_manager

times=()
for _ in $(seq "$starts"); do
    begin=$(date +%s%N)
    wine "$exe" >/dev/null 2>&1 &
    pid=$!
    # xdotool's own --sync waits in half seconds: ask every 10 ms instead, for up to 30 seconds.
    window=
    deadline=$((SECONDS + 30))
    while [ "$SECONDS" -lt "$deadline" ]; do
        window=$(visible_windows '^IE Vantrel v2\.00$' | head -n 1) && [ -n "$window" ] && break
        sleep 0.01
    done
    end=$(date +%s%N)
    [ -n "$window" ] || { echo "the main window did not show" >&2; exit 1; }
    times+=($(((end - begin) / 1000000)))
    # Close it as its close box would: the window manager sends the window its close message.
    activate_window "$window" || exit 1
    xdotool key alt+F4
    window_gone '^IE Vantrel v2\.00$' "$window" || exit 1
    process_gone "$pid" || { echo "the program did not end when its window closed" >&2; exit 1; }
    wait "$pid"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((starts + 1) / 2))p")
echo "Starts under Wine (ms): ${times[*]}; median $median" >&2
printf '{"benchmarks": [{"run_name": "ExeStartUnderWine", "run_type": "aggregate", "aggregate_name": "median", "real_time": %s, "cpu_time": 0, "time_unit": "ms"}]}\n' \
    "$median" >"$result"
