#!/bin/sh
# Starts IE Vantrel from the user's own copy of its program folder. The program keeps its engine list beside
# itself, and the installed folder is shared and read-only, so each user gets a private copy on first start.
# The program files of the copy are refreshed whenever the installed ones differ (an upgrade); the user's
# "Search Engines.ini" is made once from the default list and never touched again.
set -eu

installed="@VANTREL_INSTALL_FOLDER@"
private="${XDG_DATA_HOME:-$HOME/.local/share}/ievantrel"
list="$private/Search Engines.ini"

# Copies $1 over $2 through a temporary file beside it, so a copy cut short never leaves half a file.
copy_atomically() {
    temporary="$2.new.$$"
    cp -p "$1" "$temporary"
    mv -f "$temporary" "$2"
}

mkdir -p "$private"
for source in "$installed"/*; do
    [ -f "$source" ] || continue
    target="$private/$(basename "$source")"
    [ "$target" = "$list" ] && continue
    if ! cmp -s "$source" "$target"; then
        copy_atomically "$source" "$target"
    fi
done

if [ ! -e "$list" ]; then
    copy_atomically "$private/Search Engines.bak" "$list"
    chmod u+w "$list"
fi

exec "$private/ievantrel"
