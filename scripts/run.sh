#!/usr/bin/env bash
# Installs what is missing, builds the program (release) and starts it beside its default list. Without a display
# (a server), runs it on a virtual screen instead, saves a screenshot of its main window to
# build/screenshots/main-window.png, closes it and says where the picture is.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/virtual-screen.sh

folder=build/release
program=$folder/ievantrel

if [ -z "${VANTREL_VIRTUAL_SCREEN:-}" ]; then
    scripts/install-deps.sh
    cmake --preset release >/dev/null
    cmake --build --preset release --target ievantrel
    # The build places the default list beside the program and makes the first list from it; make sure of both.
    [ -f "$folder/Search Engines.bak" ] || cp "resources/Search Engines.bak" "$folder/"
    [ -f "$folder/Search Engines.ini" ] || cp "$folder/Search Engines.bak" "$folder/Search Engines.ini"
    if [ -n "${DISPLAY:-}" ]; then
        exec "$program"
    fi
    echo "No display: running the program on a virtual screen for a screenshot."
    run_on_virtual_screen "$(pwd)/scripts/run.sh"
fi

program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "${window_manager_pid:-}" ] && kill "$window_manager_pid" 2>/dev/null || true
}
trap cleanup EXIT

start_window_manager
"$program" &
program_pid=$!
main=$(window_named '^IE Vantrel v2\.[0-9]+$')
activate_window "$main"
sleep 1
mkdir -p build/screenshots
import -frame -window "$main" build/screenshots/main-window.png
xdotool key alt+F4
process_gone "$program_pid" || { echo "the program did not close" >&2; exit 1; }
wait "$program_pid"
program_pid=
echo "The program ran and closed. Its main window: $(pwd)/build/screenshots/main-window.png"
