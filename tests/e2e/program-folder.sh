# Sourced by the end-to-end scripts: puts the program under test into a folder of its own under $work, the Linux
# program with a configuration folder of its own, or the Windows zip unpacked into a fresh Wine prefix. Sets app
# (the program's folder), wine_mode, run (the command that starts the program) and store (the Linux store file).
set_up_program() {
    if [[ $1 == *.zip ]]; then
        wine_mode=1
        export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        mkdir -p "$WINEPREFIX"
        # A persistent server first: the prefix is made in a second rather than in ten.
        wineserver -p
        wineboot -i >"$work/wine.log" 2>&1
        # This Wine does not find its own fonts where Debian puts them; the windows want its Tahoma.
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
        python3 -m zipfile -e "$1" "$work"
        app=$(dirname "$(find "$work" -maxdepth 2 -name ievantrel.exe | head -n 1)")
        [ -f "$app/ievantrel.exe" ] || fail "the zip holds no ievantrel.exe"
        run=(wine "$app/ievantrel.exe")
    else
        app="$work/app"
        mkdir -p "$app" "$work/config"
        cp "$1" "$app/ievantrel"
        export XDG_CONFIG_HOME="$work/config"
        store="$work/config/ievantrel/HKEY_CURRENT_USER.reg"
        run=("$app/ievantrel")
    fi
}

# Writes the current user's registry as the platform keeps it (the store file, or Wine's export of its registry)
# to the file.
export_registry() {
    if [ -n "$wine_mode" ]; then
        (cd "$work" && wine regedit /E "$(winepath -w "$1")" HKEY_CURRENT_USER) >>"$work/wine.log" 2>&1
    else
        cp "$store" "$1" 2>/dev/null || : >"$1"
    fi
}

# Ends the Wine prefix's server and every process still running in the prefix: `wineserver -k` does not always
# find the server again, and what it leaves would outlive the test.
end_wine() {
    wineserver -k 2>/dev/null
    local environ pid
    for environ in /proc/[0-9]*/environ; do
        if tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            pid=${environ#/proc/}
            kill -9 "${pid%/environ}" 2>/dev/null
        fi
    done
    return 0
}
