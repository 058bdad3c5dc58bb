#!/usr/bin/env bash
# The program's command line, with no display: /install writes the keys the Install button writes and /export
# its file; a usage error writes nothing; a key the registry refuses gives exit 1 with the reason on standard
# error, and a read-only store (the Linux program's: Wine refuses no write to the user's keys) stays as it was.
# Usage: command-line.sh <ievantrel, or the Windows zip to run under Wine> <default list>
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/program-folder.sh"
work=$(mktemp -d)
wine_mode=
trap 'chmod -R u+w "$work"; [ -z "$wine_mode" ] || wineserver -k; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
set_up_program "$1"
unset DISPLAY WAYLAND_DISPLAY
cp "$2" "$app/Search Engines.ini"
engines=$(grep -c . "$2")
cd "$work" || exit 1

out=$("${run[@]}" /install) || fail "/install exited $?"
[ "$out" = "$engines of $engines shortcuts have been installed." ] || fail "/install said: $out"
export_registry installed.reg
python3 "$here/check-state.py" installed installed.reg "$2" || fail "after /install"

"${run[@]}" --bogus >/dev/null 2>err
[ $? -eq 2 ] || fail "an unknown option is not exit 2"
grep -q '^Usage: ievantrel' err || fail "no usage for an unknown option"
"${run[@]}" /export html nothing.html >/dev/null 2>&1
[ $? -eq 2 ] && [ ! -e nothing.html ] || fail "an unknown format is not exit 2, or wrote its file"
export_registry after.reg
cmp -s installed.reg after.reg || fail "a usage error changed the registry"

out=$("${run[@]}" /export reg engines.reg) || fail "/export reg exited $?"
[ "$out" = "$engines of $engines checked engines have been exported." ] || fail "/export reg said: $out"
python3 "$here/check-state.py" installed engines.reg "$2" || fail "in the exported file"

printf 'PREFIX=%0300d\tURL=https://long/?q=%%s\r\n' 0 >>"$app/Search Engines.ini"
"${run[@]}" /install >out 2>err
[ $? -eq 1 ] || fail "a key too long for the registry is not exit 1"
grep -q "^$engines of $((engines + 1)) shortcuts" out || fail "the long key's /install said: $(cat out)"
grep -q 'could not be installed' err || fail "no reason on standard error: $(cat err)"

if [ -z "$wine_mode" ]; then
    before=$(md5sum <"$store")
    chmod a-w "$store"
    "${run[@]}" /remove >/dev/null 2>err
    [ $? -eq 1 ] || fail "a read-only store is not exit 1"
    grep -q 'cannot be written' err || fail "no reason on standard error: $(cat err)"
    [ "$(md5sum <"$store")" = "$before" ] || fail "the read-only store changed"
fi
echo "command line: all checks passed"
