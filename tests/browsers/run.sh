#!/usr/bin/env bash
# Exports a list with the built program in each browser format and hands every file to the real browsers, which
# must read back one keyword per engine.
# Usage: run.sh <ievantrel> <list>
set -euo pipefail

program=$1
list=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config"
start=$SECONDS

mkdir -p "$work/app"
cp "$program" "$work/app/ievantrel"
cp "$list" "$work/app/Search Engines.ini"
# The engines' texts need escaping in HTML and JSON, and a prefix beyond ASCII must still be typed.
printf 'PREFIX=amp\tURL=https://example.com/find?a=1&q=%%s&lang="en"\r\nPREFIX=caf\xc3\xa9\tURL=https://caf\xc3\xa9.example/?q=%%s\r\n' \
    >>"$work/app/Search Engines.ini"
tr -d '\r' <"$work/app/Search Engines.ini" | sed -n 's/^PREFIX=\([^\t]*\)\tURL=\(.*\)$/\1\t\2/p' >"$work/expected"

for format in bookmarks firefox chrome; do
    "$work/app/ievantrel" /export "$format" "$work/$format" >"$work/out" 2>&1 || { cat "$work/out"; exit 1; }
done
echo "$(wc -l <"$work/expected") engines exported in each format"
status=0
python3 "$here/check-browsers.py" bookmarks "$work/bookmarks" "$work/expected" || status=1
python3 "$here/check-browsers.py" firefox-policy "$work/firefox" "$work/expected" || status=1
python3 "$here/check-browsers.py" chrome-policy "$work/chrome" "$work/expected" || status=1
echo "browser stage: $((SECONDS - start)) s"
exit $status
