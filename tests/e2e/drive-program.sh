#!/usr/bin/env bash
# Runs the built program as a person would, on a virtual screen: Install and confirm the report, add an engine
# with the editor, close the window; then reads back "Search Engines.ini" and the registry store file. Keeps
# screenshots of the main window, the editor and a message box.
#
# Usage: drive-program.sh <ievantrel> <default list> <screenshot folder>
set -euo pipefail

program=$1
default_list=$2
shots=$3

source "$(dirname "$0")/../../scripts/virtual-screen.sh"
run_on_virtual_screen "$0" "$@"

work=$(mktemp -d)
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "${window_manager_pid:-}" ] && kill "$window_manager_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
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

app="$work/app"
mkdir -p "$app" "$work/config" "$shots"
cp "$program" "$app/ievantrel"
cp "$default_list" "$app/Search Engines.bak"
cp "$default_list" "$app/Search Engines.ini"
export XDG_CONFIG_HOME="$work/config"
# Under LeakSanitizer, ignore what the system's libraries keep; the program's own leaks still fail the run.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(dirname "$0")/lsan-suppressions.txt"
store="$work/config/ievantrel/HKEY_CURRENT_USER.reg"

start_window_manager

"$app/ievantrel" &
program_pid=$!

main=$(window_named '^IE Vantrel v2\.00$') || fail "the main window did not show"
xdotool windowactivate --sync "$main"
screenshot main-window.png

# Install, then confirm its report with Return.
click_at "$main" 426 312
box=$(window_named '^InstallEngines\(\)$') || fail "Install showed no report"
xdotool windowactivate --sync "$box"
screenshot message-box.png
xdotool key Return
window_gone '^InstallEngines\(\)$' || fail "Return did not close the report"
[ -f "$store" ] || fail "Install wrote no store file"

# Add an engine: type its prefix, Tab to the URL box, type the URL, accept with Return.
click_at "$main" 68 272
editor=$(window_named '^Add New Search Engine$') || fail "Add Search Engine opened no editor"
xdotool windowactivate --sync "$editor"
xdotool type --delay 30 'e2e'
xdotool key Tab
xdotool type --delay 30 'http://e2e.example/?q=%s'
screenshot editor.png
xdotool key Return
window_gone '^Add New Search Engine$' || fail "Return did not close the editor"

# Close the window as a person would; the program ends with it.
xdotool windowactivate --sync "$main"
xdotool key alt+F4
process_gone "$program_pid" || fail "the program did not end when its window closed"
wait "$program_pid" || fail "the program ended with status $?"
program_pid=

python3 - "$app/Search Engines.ini" "$default_list" "$store" <<'PYTHON'
import sys

list_file, default_list, store = sys.argv[1:]
with open(list_file, "rb") as f:
    engines = f.read()
with open(default_list, "rb") as f:
    defaults = f.read()
expected = defaults + b"PREFIX=e2e\tURL=http://e2e.example/?q=%s\r\n"
if engines != expected:
    sys.exit("Search Engines.ini is not the default list plus the new engine:\n%r" % engines)

with open(store, "rb") as f:
    raw = f.read()
if not raw.startswith(b"\xff\xfe"):
    sys.exit("the store file has no UTF-16 byte-order mark")
text = raw[2:].decode("utf-16-le")
if not text.startswith("Windows Registry Editor Version 5.00\r\n"):
    sys.exit("the store file has no regedit header")
for line in defaults.decode("utf-8").splitlines():
    fields = dict(field.split("=", 1) for field in line.split("\t") if "=" in field)
    key = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\SearchUrl\\%s]" % fields["PREFIX"]
    value = '@="%s"' % fields["URL"].replace("\\", "\\\\").replace('"', '\\"')
    block = text.split(key + "\r\n", 1)
    if len(block) != 2 or not block[1].startswith(value + "\r\n"):
        sys.exit("the store file lacks the shortcut %s with its URL" % fields["PREFIX"])
if "SearchUrl\\e2e]" in text:
    sys.exit("the engine added after Install is already in the store")
print("Search Engines.ini and the store file are as expected")
PYTHON
echo "Screenshots: $shots/main-window.png $shots/editor.png $shots/message-box.png"
