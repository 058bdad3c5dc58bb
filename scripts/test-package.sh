#!/usr/bin/env bash
# Builds the Debian package from the release preset, checks what it holds, installs it, starts the installed
# launcher once under Xvfb from a fresh HOME (then again after an "upgrade"), and removes the package.
# Usage: scripts/test-package.sh [build folder]   (default: the release preset's own folder)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
program_folder=/opt/ievantrel

cmake --preset release -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target ievantrel
rm -f "$build"/ievantrel_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/ievantrel_*.deb)
echo "Package: $deb"

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

contents=$(dpkg-deb -c "$deb")
for path in "$program_folder/ievantrel" "$program_folder/Search Engines.bak" /usr/bin/ievantrel \
    /usr/share/applications/ievantrel.desktop /usr/share/icons/hicolor/32x32/apps/ievantrel.png; do
    grep -qF " .$path" <<<"$contents" || fail "the package lacks $path"
done
! grep -qF "Search Engines.ini" <<<"$contents" || fail "the package carries a list of its own"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "the package does not depend on Qt"

home=$(mktemp -d)
cleanup() {
    "${as_root[@]}" dpkg -r ievantrel >/dev/null 2>&1 || true
    rm -rf "$home"
}
trap cleanup EXIT

dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/applications/ievantrel.desktop >"$home/ievantrel.desktop"
desktop-file-validate "$home/ievantrel.desktop"

"${as_root[@]}" dpkg -i "$deb" >/dev/null 2>&1 ||
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -f -y -qq >/dev/null
dpkg-query -W -f='${Status}' ievantrel | grep -q 'install ok installed' || fail "the package did not install"

# Starts the launcher under Xvfb, waits for the main window, and closes the program.
start_once() {
    HOME="$home" XDG_DATA_HOME="" xvfb-run -a bash -c '
        /usr/bin/ievantrel & program=$!
        timeout 20 xdotool search --sync --onlyvisible --name "^IE Vantrel" >/dev/null || exit 1
        readlink "/proc/$program/exe"
        kill "$program"
        wait "$program" || true'
}

private="$home/.local/share/ievantrel"
running=$(start_once) || fail "the installed program showed no main window"
[ "$running" = "$private/ievantrel" ] || fail "the launcher ran $running, not the private copy"
cmp -s "$private/Search Engines.ini" "$program_folder/Search Engines.bak" || fail "no private list made from the default"
echo "First start: $private holds $(ls "$private" | tr '\n' ' ')"

# An upgrade changes the installed program; the user's list must survive the refresh.
printf 'PREFIX=mine\tURL=http://example.org/?q=%%s\r\n' >>"$private/Search Engines.ini"
cp "$private/Search Engines.ini" "$home/list-before"
echo "an older program" >"$private/ievantrel"
start_once >/dev/null || fail "the refreshed program showed no main window"
cmp -s "$private/ievantrel" "$program_folder/ievantrel" || fail "the private program was not refreshed"
cmp -s "$private/Search Engines.ini" "$home/list-before" || fail "the refresh touched the user's list"

echo "Package test passed: $(basename "$deb")"
