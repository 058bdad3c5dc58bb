#!/usr/bin/env bash
# Builds Qt for 64-bit Windows from Debian's own qt6-base source (the version this system's Qt is), cross-compiled
# with mingw-w64 as static libraries with the Windows platform plugin, and installs it into a cache folder named by
# Qt's version and a hash of this recipe. A finished build is reused while the recipe stays the same. Progress goes to
# standard error; the installed Qt's folder is printed on standard output.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
toolchain="$root/cmake/mingw-w64.cmake"

version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
upstream=${version%%+*}
patches=("$root"/scripts/qt-windows/*.patch)
recipe=$(cat "$0" "$toolchain" "${patches[@]}" | sha256sum | cut -c1-12)
cache="${XDG_CACHE_HOME:-$HOME/.cache}/ievantrel"
prefix="$cache/qt-$upstream-mingw-static-$recipe"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work="$cache/qt-build-$recipe"
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/source"

# A private apt configuration, so the system's package lists are neither read nor changed.
cat >"$work/apt/sources.list" <<EOF
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian-security bookworm-security main
EOF
apt=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache" -o APT::Sandbox::User=root)
apt-get "${apt[@]}" -qq update
(cd "$work/source" && apt-get "${apt[@]}" -qq source --download-only "qt6-base=$version")
# apt has checked the downloaded files against the archive's signed index.
dpkg-source --no-check --skip-patches -x "$work/source"/qt6-base_*.dsc "$work/qtbase" >/dev/null

# Debian's upstream and security fixes; its packaging patches are for its own Linux build.
cd "$work/qtbase"
grep -E '^(cve-|upstream_)' debian/patches/series | while read -r name; do
    patch -p1 --quiet <"debian/patches/$name"
done
# And this program's own, in scripts/qt-windows.
for name in "${patches[@]}"; do
    patch -p1 --quiet <"$name"
done

mkdir "$work/build"
cd "$work/build"
echo "Configuring Qt $upstream for Windows (mingw-w64, static)" >&2
# What the program's windows, message boxes and save dialog never use (its icon is the executable's own Windows
# resource; its pictures are PNG in the Windows build, so neither GIF nor JPEG is read; nothing is animated, the
# style's buttons changing state at once instead of fading; no regular expression, so no PCRE2), and the Direct2D
# platform plugin (direct2d1_1), which it never loads. Leaving it out shrinks the executable and the build; each
# function and datum gets a section of its own, so that the program's link drops what it never calls.
unused_features=(
    graphicsview mdiarea dockwidget statusbar calendarwidget datetimeedit
    colordialog fontdialog fontcombobox wizard errormessage progressdialog splashscreen
    undocommand undostack undogroup undoview textodfwriter textmarkdownreader textmarkdownwriter
    textbrowser syntaxhighlighter lcdnumber dial keysequenceedit toolbox commandlinkbutton
    tablewidget treewidget columnview datawidgetmapper scroller pdf picture movie
    sessionmanager systemtrayicon whatsthis process sharedmemory systemsemaphore style-fusion style-stylesheet
    mimetype ico imageformat_ppm imageformat_xbm xmlstream xmlstreamreader xmlstreamwriter commandlineparser
    hijricalendar islamiccivilcalendar jalalicalendar gestures statustip timezone filesystemwatcher
    translation future identityproxymodel transposeproxymodel concatenatetablesproxymodel direct2d1_1
    gif animation
)
sections="-ffunction-sections -fdata-sections"
"$work/qtbase/configure" -prefix "$prefix" -release -static -static-runtime -xplatform win32-g++ \
    -qt-host-path /usr -nomake tests -nomake examples -ccache \
    -no-opengl -no-dbus -no-icu -no-fontconfig -no-openssl \
    -no-feature-network -no-feature-sql -no-feature-printsupport -no-feature-testlib \
    -no-feature-concurrent -no-feature-xml -no-feature-vulkan -no-feature-tabletevent \
    "${unused_features[@]/#/-no-feature-}" -optimize-size \
    -qt-zlib -qt-libpng -no-libjpeg -no-pcre -qt-harfbuzz -no-freetype \
    -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_C_FLAGS="$sections" -DCMAKE_CXX_FLAGS="$sections" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >configure.log 2>&1 ||
    { tail -n 40 configure.log >&2; exit 1; }
echo "Building Qt $upstream for Windows" >&2
# Lets ccache reuse compilations that use Qt's precompiled headers, and, with the build's own paths made
# relative, those of a build folder of an earlier recipe, for a rebuild after the recipe changed.
CCACHE_BASEDIR="$work" CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime \
    cmake --build . --parallel "$(nproc)" >build.log 2>&1 || { tail -n 40 build.log >&2; exit 1; }
cmake --install . >install.log 2>&1 || { tail -n 40 install.log >&2; exit 1; }
touch "$prefix/.complete"
cd "$cache"
rm -rf "$work"
echo "$prefix"
