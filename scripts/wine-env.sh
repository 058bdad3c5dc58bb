#!/usr/bin/env bash
# Runs a command with a private, warmed-up Wine prefix under build/, so the Windows tests start quickly, and stops
# that prefix's Wine server when the command ends.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="$root/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
# A persistent server keeps every test from waiting for Wine to start again. It must come first: while any other
# server of this prefix runs, "wineserver -p" fails and that server ends a few seconds after its last program.
wineserver -p >/dev/null 2>&1 || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init </dev/null >/dev/null 2>&1 || true
fi
# The warm-up run starts Wine's own services now, with no test's output open in them: a service started by the first
# test would inherit that test's output pipe and keep CTest waiting for it for ever.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
"$@"
