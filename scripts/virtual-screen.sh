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

# Prints the id of the visible window whose title matches the pattern, waiting up to 30 seconds for it.
window_named() {
    local id
    id=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1) || true
    if [ -z "$id" ]; then
        echo "no window titled $1" >&2
        return 1
    fi
    echo "$id"
}

# Waits up to ten seconds for the window whose title matches the pattern to close.
window_gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    echo "window titled $1 did not close" >&2
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
