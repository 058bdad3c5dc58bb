#!/usr/bin/env bash
# Builds the Windows program on Linux: Qt for Windows (built once, then reused from the cache), ievantrel.exe
# linked statically against it, and the portable zip with the default list. Prints the zip's path last.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
VANTREL_QT_WINDOWS=$(scripts/build-qt-windows.sh)
export VANTREL_QT_WINDOWS
# A build folder configured against another Qt (an earlier recipe) keeps that Qt's package folders in its
# cache: configure it afresh.
fresh=()
if ! grep -qs "^Qt6_DIR:PATH=$VANTREL_QT_WINDOWS/" build/windows/CMakeCache.txt; then
    fresh=(--fresh)
fi
cmake --preset windows-cross "${fresh[@]}" >/dev/null
cmake --build --preset windows-cross -j "$(nproc)"
zip=$(cpack --preset windows-cross | sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p')
[ -f "$zip" ] || { echo "cpack wrote no zip" >&2; exit 1; }
echo "$zip"
