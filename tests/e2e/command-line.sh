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
trap 'chmod -R u+w "$work"; [ -z "$wine_mode" ] || end_wine; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
defaults=$(realpath "$2")
set_up_program "$1"
unset DISPLAY WAYLAND_DISPLAY
cp "$defaults" "$app/Search Engines.ini"
engines=$(grep -c . "$defaults")
cd "$work" || exit 1
# Runs the program with the arguments, its output in the files out and err, and sets status to its exit status.
# Files, not a pipe: the processes Wine starts for the program's first run keep its output open long after it
# ended, and a reader of a pipe would wait for them.
program() {
    "${run[@]}" "$@" >out 2>err
    status=$?
}
# What the program printed, without the CRs of a Windows program's line ends.
said() { tr -d '\r' <out; }

program /install
[ $status -eq 0 ] || fail "/install exited $status: $(cat err)"
[ "$(said)" = "$engines of $engines shortcuts have been installed." ] || fail "/install said: $(said)"
export_registry installed.reg
python3 "$here/check-state.py" installed installed.reg "$defaults" || fail "after /install"

program --bogus
[ $status -eq 2 ] || fail "an unknown option is not exit 2"
grep -q '^Usage: ievantrel' err || fail "no usage for an unknown option"
program /export html nothing.html
[ $status -eq 2 ] && [ ! -e nothing.html ] || fail "an unknown format is not exit 2, or wrote its file"
export_registry after.reg
cmp -s installed.reg after.reg || fail "a usage error changed the registry"

program /export reg engines.reg
[ $status -eq 0 ] || fail "/export reg exited $status: $(cat err)"
[ "$(said)" = "$engines of $engines checked engines have been exported." ] || fail "/export reg said: $(said)"
python3 "$here/check-state.py" installed engines.reg "$defaults" || fail "in the exported file"

printf 'PREFIX=%0300d\tURL=https://long/?q=%%s\r\n' 0 >>"$app/Search Engines.ini"
program /install
[ $status -eq 1 ] || fail "a key too long for the registry is not exit 1"
grep -q "^$engines of $((engines + 1)) shortcuts" out || fail "the long key's /install said: $(said)"
grep -q 'could not be installed' err || fail "no reason on standard error: $(cat err)"

if [ -z "$wine_mode" ]; then
    before=$(md5sum <"$store")
    chmod a-w "$store"
    program /remove
    [ $status -eq 1 ] || fail "a read-only store is not exit 1"
    grep -q 'cannot be written' err || fail "no reason on standard error: $(cat err)"
    [ "$(md5sum <"$store")" = "$before" ] || fail "the read-only store changed"
fi
echo "command line: all checks passed"
