#!/usr/bin/env bash
# Exports a list with the built program in each browser format and hands every file to the real browsers, which
# must read back one keyword per engine. Exits 77 (skipped) when the program has no /export yet.
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
    # A program without a command line ignores its arguments and opens its window, which never closes here.
    rc=0
    timeout 30 "$work/app/ievantrel" /export "$format" "$work/$format" >"$work/out" 2>&1 || rc=$?
    if [ $rc -eq 124 ] && ! [ -e "$work/$format" ]; then
        echo "the program has no /export: skipped"
        exit 77
    elif [ $rc -ne 0 ]; then
        cat "$work/out"
        echo "FAIL: /export $format exited $rc"
        exit 1
    fi
done
echo "$(wc -l <"$work/expected") engines exported in each format"
status=0
python3 "$here/check-browsers.py" bookmarks "$work/bookmarks" "$work/expected" || status=1
python3 "$here/check-browsers.py" firefox-policy "$work/firefox" "$work/expected" || status=1
python3 "$here/check-browsers.py" chrome-policy "$work/chrome" "$work/expected" || status=1
echo "browser stage: $((SECONDS - start)) s"
exit $status
