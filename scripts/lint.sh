#!/usr/bin/env bash
# The code gates, run by scripts/test.sh after the dev build: every tracked C++ file formatted as .clang-format
# says, and clang-tidy (.clang-tidy) clean over the program's own sources in src/, compiled as the dev preset
# compiles them. Needs the dev build (its compile_commands.json and the windows' generated headers). Fails on
# any finding.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/dev
start=$SECONDS

git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run --Werror

# The sources the dev build compiles from src/: not the tests', and not the moc and uic output in the build.
mapfile -t sources < <(python3 - "$build/compile_commands.json" <<'PY'
import json, os, sys
src = os.path.realpath("src") + os.sep
files = {os.path.realpath(entry["file"]) for entry in json.load(open(sys.argv[1]))}
print("\n".join(sorted(f for f in files if f.startswith(src))))
PY
)

# One file per clang-tidy, as many at once as there are cores; the compiler's "N warnings generated" counts
# (warnings in system headers, which clang-tidy does not report) are left out.
set +o pipefail
printf '%s\0' "${sources[@]}" |
    xargs -0 -P "$(nproc)" -n 1 clang-tidy-14 -p "$build" --quiet 2>&1 |
    { grep -v '^[0-9]* warnings\? generated\.$' || true; }
status=${PIPESTATUS[1]}
set -o pipefail

echo "Formatting and clang-tidy over ${#sources[@]} sources: $((SECONDS - start)) s"
exit "$status"
