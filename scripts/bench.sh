#!/usr/bin/env bash
# Builds the bench preset, runs every benchmark under bench/ (nine repetitions each, their medians in JSON),
# builds the Windows program and times its start under Wine beside Qt's and Wine's floors, measures the program's peak
# memory with 100,000 engines, prints the speed table in Markdown and writes it into README.md between its
# markers. Exits 1 when a figure misses its target or was not measured.
#
# BENCH_BUILD sets the build folder (build/bench by default). BENCH_WINDOWS=0 leaves out the Windows program
# (scripts/build-windows.sh builds Qt for Windows first, once, which takes hours on a new machine).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
build=${BENCH_BUILD:-build/bench}
results=$build/results
rm -rf "$results"
mkdir -p "$results"

cmake --preset bench -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)"

for program in $(find "$build/bench" -type f -executable -name '*Bench' | sort); do
    echo "Running $(basename "$program")" >&2
    "$program" --benchmark_repetitions=9 --benchmark_report_aggregates_only=true \
        --benchmark_out="$results/$(basename "$program").json" --benchmark_out_format=json >/dev/null
done

if [ "${BENCH_WINDOWS:-1}" != 0 ]; then
    windows_zip=$(scripts/build-windows.sh | tail -n 1)
    echo "Starting the Windows program, Qt's floor and Wine's floor under Wine" >&2
    # Qt for Windows is built by now: this prints its folder.
    VANTREL_QT_WINDOWS=$(scripts/build-qt-windows.sh) bench/wine-startup.sh "$windows_zip" "$results/WineStartup.json"
fi

# Peak memory: the program started offscreen over 100,000 engines in an application folder of its own,
# given time to load and paint, then ended.
app=$(mktemp -d)
trap 'rm -rf "$app"' EXIT
cp "$build/ievantrel" "$app/"
python3 - "$app/Search Engines.ini" <<'PY'
import sys
with open(sys.argv[1], "wb") as out:
    for i in range(100_000):
        out.write(b"PREFIX=engine%d\tURL=https://engine%d.example.com/search?q=%%s&source=ievantrel&lang=en\r\n" % (i, i))
PY
cp "$app/Search Engines.ini" "$app/Search Engines.bak"
XDG_CONFIG_HOME="$app/config" QT_QPA_PLATFORM=offscreen /usr/bin/time -v -o "$results/peak-memory.txt" \
    timeout -s TERM 8 "$app/ievantrel" >/dev/null 2>&1 || true

python3 - "$results" README.md <<'PY'
import glob, json, os, re, sys

results, readme = sys.argv[1], sys.argv[2]

# Benchmark name (as the programs register it) -> operation, size, target: milliseconds, or the name of the row
# whose median is the target, or None for a figure given for comparison.
LIST = "100,000 engines, 9.6 MB"
ROWS = [
    ("ParseIntoRows", "Parse the list's bytes into rows (`ParseEngineList`)", LIST, 50),
    ("LoadFromFile", "Load the list file into rows (`LoadEngines`)", LIST, 50),
    ("SaveToFile", "Save the rows to the list file, atomically and flushed to disk (`SaveEngines`)", LIST, 50),
    ("MakeBookmarks", "Make the bookmarks file's bytes for every engine (`ExportEngines`)", LIST, "LoadFromFile"),
    ("MakeRegFile", "Make the registry file's bytes for every engine (`ExportEngines`, UTF-16)", LIST,
     "LoadFromFile"),
    ("MakeFirefoxPolicy", "Make Firefox's policies.json for every engine (`ExportEngines`)", LIST, "LoadFromFile"),
    ("ExportBookmarks", "Export every engine to a bookmarks file (`ExportEnginesToFile`, atomically, flushed to disk, "
     "with its report)", LIST, None),
    ("ExportReg", "Export every engine to a registry file (`ExportEnginesToFile`)", LIST, None),
    ("ExportFirefox", "Export every engine to Firefox's policies.json (`ExportEnginesToFile`)", LIST, None),
    ("BM_InstallEngines", "Install every checked engine into the store file (`InstallEngines` into `RegFileStore`: "
     "one lock, one read, 50,000 values, one atomic replace flushed to disk)", "10,000 engines, 3.6 MB store", 100),
    ("BM_WineRegeditImport", "For comparison: Wine's registry editor importing the same shortcuts (`wine regedit /S`)",
     "10,000 engines", None),
    ("MainWindowWithDefaultList", "From start to the main window shown with the default list (offscreen)",
     "default list", 150),
    ("ExeStartUnderWine", "From starting `ievantrel.exe` under Wine to its main window shown on an Xvfb screen "
     "(default list, warm Wine prefix)", "default list", 1000),
    ("QtFloorStartUnderWine", "For comparison: Qt's floor, the same start of a Qt Widgets program that only shows "
     "one empty window (`bench/qt-floor`, same Qt for Windows, same prefix and run)", "one empty Qt window", None),
    ("WineFloorStartUnderWine", "For comparison: Wine's floor, the same start of a program that only shows one "
     "window (`bench/WineFloor.c`, same compiler, same prefix and run)", "one empty window", None),
    ("LoadAndFirstPaint", "Load and first paint of the main window", "100,000 engines", 300),
    ("SelectAll", "Select All", "100,000 engines", 50),
    ("SelectInvert", "Select Invert", "100,000 engines", 50),
    ("RemoveHalfOfTheRows", "Remove Selected, including the save", "50,000 of 100,000 engines", 200),
]

measured = {}
ratio = None
for path in sorted(glob.glob(os.path.join(results, "*.json"))):
    with open(path) as f:
        for bench in json.load(f).get("benchmarks", []):
            name = bench["run_name"].split("/")[0]
            if bench.get("error_occurred"):
                continue
            unit = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[bench.get("time_unit", "ns")]
            if bench.get("aggregate_name") == "median" or (bench.get("run_type") == "iteration" and name not in measured):
                measured[name] = (bench["real_time"] * unit, bench.get("cpu_time", 0) * unit)
                if "times_InstallEngines" in bench:
                    ratio = bench["times_InstallEngines"]

def fmt(ms):
    return f"{ms:.1f} ms"

def target_text(target):
    if target is None:
        return "—"
    if isinstance(target, str):
        given = f" ({fmt(measured[target][0])})" if target in measured else ""
        return f"≤ `{target}`{given}"
    return f"≤ {target} ms"

# The export to a file, beside the making of its bytes alone.
EXPORT_BYTES = {"ExportBookmarks": "MakeBookmarks", "ExportReg": "MakeRegFile", "ExportFirefox": "MakeFirefoxPolicy"}

def comparison(name):
    if name in EXPORT_BYTES and EXPORT_BYTES[name] in measured:
        return (f" ({fmt(measured[name][1])} CPU), of which making the bytes "
                f"{fmt(measured[EXPORT_BYTES[name]][0])}")
    if name == "BM_WineRegeditImport" and ratio:
        return f", {ratio:.0f} × `InstallEngines`"
    if name in ("QtFloorStartUnderWine", "WineFloorStartUnderWine") and "ExeStartUnderWine" in measured:
        return f"; `ievantrel.exe` takes {measured['ExeStartUnderWine'][0] / measured[name][0]:.2f} × as long"
    return ""

lines = ["| Operation | Size | Median | Target | Pass |", "|---|---|---|---|---|"]
failed = False
known = set()
for name, operation, size, target in ROWS:
    known.add(name)
    if name not in measured:
        lines.append(f"| {operation} | {size} | not measured | {target_text(target)} | — |")
        failed |= target is not None
        continue
    real, cpu = measured[name]
    if target is None:
        lines.append(f"| {operation} | {size} | {fmt(real)}{comparison(name)} | — | — |")
        continue
    limit = measured.get(target, (None,))[0] if isinstance(target, str) else target
    ok = limit is not None and real <= limit
    failed |= not ok
    cpu_text = f" ({fmt(cpu)} CPU)" if cpu else ""
    lines.append(f"| {operation} | {size} | {fmt(real)}{cpu_text} | {target_text(target)} | "
                 f"{'yes' if ok else '**no**'} |")
for name in sorted(set(measured) - known):
    real, cpu = measured[name]
    lines.append(f"| `{name}` | | {fmt(real)} ({fmt(cpu)} CPU) | — | — |")

peak = None
with open(os.path.join(results, "peak-memory.txt")) as f:
    match = re.search(r"Maximum resident set size \(kbytes\): (\d+)", f.read())
    if match:
        peak = int(match.group(1)) / 1024
if peak is None:
    lines.append("| Peak memory of the program | 100,000 engines | not measured | ≤ 120 MB | — |")
else:
    failed |= peak > 120
    lines.append(f"| Peak memory of the program (`/usr/bin/time -v`) | 100,000 engines | {peak:.1f} MB | ≤ 120 MB | "
                 f"{'yes' if peak <= 120 else '**no**'} |")

table = "\n".join(lines)
print(table)
begin, end = "<!-- speed-table:begin -->", "<!-- speed-table:end -->"
with open(readme, encoding="utf-8") as f:
    text = f.read()
if begin in text and end in text:
    text = text[: text.index(begin) + len(begin)] + "\n" + table + "\n" + text[text.index(end):]
    with open(readme, "w", encoding="utf-8") as f:
        f.write(text)
else:
    print(f"README.md has no {begin} ... {end} markers; the table was not written", file=sys.stderr)
sys.exit(1 if failed else 0)
PY
