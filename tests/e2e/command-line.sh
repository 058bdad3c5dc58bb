#!/bin/sh
# The program's command line, with no display: /install writes the store, an unknown option is a usage
# error, and a read-only store gives exit 1 with the reason on standard error and stays as it was.
# Usage: command-line.sh PROGRAM
set -u
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
mkdir "$work/app" "$work/config"
cp "$1" "$work/app/ievantrel"
printf 'PREFIX=g\tURL=https://g.example/?q=%%s\r\n' >"$work/app/Search Engines.ini"
export XDG_CONFIG_HOME="$work/config"
unset DISPLAY WAYLAND_DISPLAY
store="$work/config/ievantrel/HKEY_CURRENT_USER.reg"
fail() { echo "FAILED: $*"; exit 1; }

out=$("$work/app/ievantrel" /install) || fail "/install exited $?"
[ "$out" = "1 of 1 shortcuts have been installed." ] || fail "/install said: $out"
iconv -f UTF-16LE -t UTF-8 "$store" | grep -q 'SearchUrl\\g]' || fail "/install wrote no shortcut"

"$work/app/ievantrel" --bogus >/dev/null 2>"$work/err"
[ $? -eq 2 ] || fail "an unknown option is not exit 2"
grep -q '^Usage: ievantrel' "$work/err" || fail "no usage for an unknown option"

before=$(md5sum <"$store")
chmod a-w "$store"
"$work/app/ievantrel" /remove >/dev/null 2>"$work/err"
[ $? -eq 1 ] || fail "a read-only store is not exit 1"
grep -q 'cannot be written' "$work/err" || fail "no reason on standard error: $(cat "$work/err")"
[ "$(md5sum <"$store")" = "$before" ] || fail "the read-only store changed"
echo "command line: all checks passed"
