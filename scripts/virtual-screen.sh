# Helpers for running the program on a virtual X screen and working its windows with xdotool. Sourced by
# scripts/run.sh and the end-to-end test.

# Re-runs the script (the first argument, with the rest as its arguments) under xvfb-run on a free display,
# unless it already runs on one.
run_on_virtual_screen() {
    if [ -z "${VANTREL_VIRTUAL_SCREEN:-}" ]; then
        exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" env VANTREL_VIRTUAL_SCREEN=1 "$@"
    fi
}

# Starts openbox, so that windows have frames and can be activated and closed from the keyboard, and waits until
# it manages the screen: up to 30 seconds, starting it again if it ends, as a machine busy with other tests may
# be that slow to let it in. Sets window_manager_pid.
start_window_manager() {
    local log
    log=$(mktemp)
    window_manager_pid=
    for _ in $(seq 300); do
        if [ -z "$window_manager_pid" ] || ! kill -0 "$window_manager_pid" 2>/dev/null; then
            openbox >"$log" 2>&1 &
            window_manager_pid=$!
        fi
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            rm -f "$log"
            return 0
        fi
        sleep 0.1
    done
    echo "the window manager did not start: $(cat "$log")" >&2
    rm -f "$log"
    return 1
}

# Prints the ids of the visible windows whose title matches the pattern, one a line, none if there is none.
# Fails when the search itself failed: Wine creates and destroys windows of its own while xdotool walks the
# window tree, and one that goes in between ends the search with an X error such as BadWindow.
visible_windows() {
    local found status=0
    found=$(timeout 5 xdotool search --onlyvisible --name "$1" 2>&1) || status=$?
    [ "$status" -le 1 ] || return 1
    [ -n "$found" ] || return 0
    ! grep -q 'X Error' <<<"$found" || return 1
    grep -E '^[0-9]+$' <<<"$found"
}

# Prints the id of the visible window whose title matches the pattern, waiting up to 30 seconds for it.
window_named() {
    local deadline=$((SECONDS + 30)) ids
    while [ "$SECONDS" -lt "$deadline" ]; do
        if ids=$(visible_windows "$1") && [ -n "$ids" ]; then
            head -n 1 <<<"$ids"
            return 0
        fi
        sleep 0.1
    done
    echo "no window titled $1" >&2
    return 1
}

# Waits for the window whose title matches the pattern to close: any such window, or only the one whose id is
# the second argument; up to ten seconds, or as many as the third argument says.
window_gone() {
    local deadline=$((SECONDS + ${3:-10})) ids
    while [ "$SECONDS" -lt "$deadline" ]; do
        if ids=$(visible_windows "$1"); then
            grep -qxE "${2:-[0-9]+}" <<<"$ids" || return 0
        fi
        sleep 0.1
    done
    echo "window titled $1 did not close" >&2
    return 1
}

# Brings the window to the front and waits up to ten seconds for it to be the active one.
activate_window() {
    local deadline=$((SECONDS + 10))
    while [ "$SECONDS" -lt "$deadline" ]; do
        timeout 2 xdotool windowactivate --sync "$1" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "window $1 could not be brought to the front" >&2
    return 1
}

# Closes the window whose id is the first argument as its close box would: asks the window manager to close it,
# which sends the window the close message, and asks again every two seconds until the window, matched by the title
# pattern of the second argument, is gone; fails after about ten seconds.
close_window() {
    for _ in $(seq 5); do
        timeout 2 wmctrl -i -c "$1" 2>/dev/null || true
        window_gone "$2" "$1" 2 2>/dev/null && return 0
    done
    echo "window titled $2 did not close" >&2
    return 1
}

# Waits up to ten seconds for the process to end.
process_gone() {
    for _ in $(seq 100); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}
