#!/usr/bin/env bash
# Runs a command with a private, warmed-up Wine prefix under build/, so the Windows tests start quickly.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="$root/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
fi
# A persistent server keeps every test from waiting for Wine to start again.
wineserver -p >/dev/null 2>&1 || true
exec "$@"
