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

# A virtual screen of its own, with a window manager so that windows can be activated and closed by keyboard.
if [ -z "${VANTREL_E2E_SCREEN:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" env VANTREL_E2E_SCREEN=1 "$0" "$@"
fi

work=$(mktemp -d)
program_pid=
wm_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The id of the visible window whose title matches, waiting up to ten seconds for it.
window_named() {
    timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -n 1 || fail "no window titled $1"
}

window_gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "window titled $1 did not close"
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
store="$work/config/ievantrel/HKEY_CURRENT_USER.reg"

openbox >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

"$app/ievantrel" &
program_pid=$!

main=$(window_named '^IE Vantrel v2\.00$')
xdotool windowactivate --sync "$main"
screenshot main-window.png

# Install, then confirm its report with Return.
click_at "$main" 426 312
box=$(window_named '^InstallEngines\(\)$')
xdotool windowactivate --sync "$box"
screenshot message-box.png
xdotool key Return
window_gone '^InstallEngines\(\)$'
[ -f "$store" ] || fail "Install wrote no store file"

# Add an engine: type its prefix, Tab to the URL box, type the URL, accept with Return.
click_at "$main" 68 272
editor=$(window_named '^Add New Search Engine$')
xdotool windowactivate --sync "$editor"
xdotool type --delay 30 'e2e'
xdotool key Tab
xdotool type --delay 30 'http://e2e.example/?q=%s'
screenshot editor.png
xdotool key Return
window_gone '^Add New Search Engine$'

# Close the window as a person would; the program ends with it.
xdotool windowactivate --sync "$main"
xdotool key alt+F4
for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end when its window closed"
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
print("list file and store file as expected; screenshots in", sys.argv[0] and "the screenshot folder")
PYTHON
echo "Screenshots: $shots/main-window.png $shots/editor.png $shots/message-box.png"
