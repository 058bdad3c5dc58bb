#!/usr/bin/env bash
# Runs the built program as a person would, on a virtual screen: Install, Remove, the IE Search Fix answered Yes,
# a link of the About window, an engine added with the editor, and the window closed. After each command it reads
# back the registry (the store file, or Wine's export of its registry), at the end "Search Engines.ini".
# Usage: drive-program.sh <ievantrel, or the Windows zip to run under Wine> <default list> <screenshot folder>
set -euo pipefail

program=$1
default_list=$2
shots=$3
here=$(cd "$(dirname "$0")" && pwd)

source "$here/../../scripts/virtual-screen.sh"
source "$here/program-folder.sh"
run_on_virtual_screen "$0" "$@"

work=$(mktemp -d)
program_pid=
wine_mode=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "${window_manager_pid:-}" ] && kill "$window_manager_pid" 2>/dev/null || true
    [ -z "$wine_mode" ] || end_wine
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    tail -n 20 "$work/program.log" >&2 2>/dev/null
    exit 1
}

# Clicks at a point of a window's client area, in the window's own pixels.
click_at() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

screenshot() {
    sleep 0.5
    import -window root "$shots/$1"
}

# Waits for the box or window of that title, brings it to the front and answers it with a key.
answer() {
    local box
    box=$(window_named "^$1\$") || fail "$2 showed no \"$1\" box"
    activate_window "$box" || fail "the \"$1\" box could not be brought to the front"
    [ -z "${4:-}" ] || screenshot "$4"
    xdotool key "$3"
    # The next box may have the same title: wait for this one to go.
    window_gone "^$1\$" "$box" || fail "$3 did not close the \"$1\" box"
}

# Checks the current user's registry, as the platform keeps it, with one of the checks of check-state.py.
check_registry() {
    local exported="$work/registry.reg"
    export_registry "$exported" || fail "Wine's registry editor could not export the registry"
    python3 "$here/check-state.py" "$1" "$exported" "$default_list" || fail "after $2"
}

mkdir -p "$work/bin" "$shots"
# Links open the page with xdg-open, Wine's browser launcher too: this one notes the address instead.
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

set_up_program "$program"
if [ -z "$wine_mode" ]; then
    cp "$default_list" "$app/Search Engines.bak"
    cp "$default_list" "$app/Search Engines.ini"
    # Under LeakSanitizer, ignore what the system's libraries keep; the program's own leaks still fail the run.
    export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$here/lsan-suppressions.txt"
fi
start_program() { "${run[@]}" >"$work/program.log" 2>&1 & }
cmp -s "$app/Search Engines.ini" "$default_list" || fail "the program's folder does not start with the default list"
# An engine from an 8-bit Windows system: its bytes must come back unchanged when the list is saved.
printf 'PREFIX=caf\351\tURL=http://caf\351.example/?q=%%s\r\n' >>"$app/Search Engines.ini"

start_window_manager
start_program
program_pid=$!

main=$(window_named '^IE Vantrel v2\.00$') || fail "the main window did not show"
activate_window "$main" || fail "the main window could not be brought to the front"
screenshot main-window.png

click_at "$main" 426 312
answer 'InstallEngines\(\)' Install Return message-box.png
check_registry installed Install

click_at "$main" 482 312
answer 'Remove Shortcuts' Remove Return
check_registry removed Remove

click_at "$main" 187 311
answer 'IE Search Fix' 'IE Search Fix' Return
answer 'IE Search Fix' 'Yes to the IE Search Fix' Return
check_registry search-fix 'the IE Search Fix'

# The About window's web site link opens the maker's home page through the system's shell.
click_at "$main" 77 311
about=$(window_named '^About$') || fail "Dorvane Solutions opened no About window"
activate_window "$about" || fail "the About window could not be brought to the front"
click_at "$about" 160 128
for _ in $(seq 100); do
    [ -s "$work/opened" ] && break
    sleep 0.1
done
[ "$(cat "$work/opened" 2>/dev/null)" = "http://www.dorvane.example/?from=ievantrel" ] ||
    fail "the web site link opened \"$(cat "$work/opened" 2>/dev/null)\", not the home page"
answer About "The About window's close box" alt+F4

# Add an engine: type its prefix, Tab to the URL box, type the URL, accept with Return.
click_at "$main" 68 272
editor=$(window_named '^Add New Search Engine$') || fail "Add Search Engine opened no editor"
activate_window "$editor" || fail "the editor could not be brought to the front"
xdotool type --delay 30 'e2e'
xdotool key Tab
xdotool type --delay 30 'http://e2e.example/?q=%s'
screenshot editor.png
xdotool key Return
window_gone '^Add New Search Engine$' || fail "Return did not close the editor"

# Close the window as a person would; the program ends with it.
activate_window "$main" || fail "the main window could not be brought to the front"
xdotool key alt+F4
process_gone "$program_pid" || fail "the program did not end when its window closed"
wait "$program_pid" || fail "the program ended with status $?"
program_pid=

python3 "$here/check-state.py" list "$app/Search Engines.ini" "$default_list" || fail "after the editor's Okay"

# Under Wine, the program's own check that every window's texts fit, at 96 dpi, 125% (120 dpi) and 150% (144 dpi).
if [ -n "$wine_mode" ]; then
    for dpi in 96 120 144; do
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >>"$work/wine.log" 2>&1 ||
            fail "Wine's registry did not take $dpi dpi"
        report="$work/fit-$dpi.txt"
        VANTREL_FIT_CHECK=$(winepath -w "$report") "${run[@]}" >>"$work/program.log" 2>&1 ||
            fail "texts do not fit at $dpi dpi: $(cat "$report" 2>/dev/null)"
        echo "Fit check at $dpi dpi:"
        cat "$report"
    done
fi
echo "Screenshots: $shots/main-window.png $shots/editor.png $shots/message-box.png"
