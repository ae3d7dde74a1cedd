#!/usr/bin/env bash
# Runs a Tamrivo as its users would on a fresh copy of the bundled example (examples/Repo) and
# requires exactly the golden files of tests/e2e/expected/example: the new project file, the new
# filters file (identifiers masked), the report and standard output (build date and timestamp
# masked), exit code 0 and nothing on standard error.
#
# Usage: scripts/check-example.sh linux PROGRAM         (a Linux build, a path or a command name)
#        scripts/check-example.sh windows TAMRIVO_EXE   (under Wine, its environment the caller's)
set -euo pipefail

if (($# != 2)) || [[ $1 != linux && $1 != windows ]]; then
    echo "usage: $0 linux|windows PROGRAM" >&2
    exit 2
fi
platform=$1
program=$2
# A path is taken from here; the run itself starts in the example's source folder.
if [[ $program == */* ]]; then
    program=$(realpath "$program")
fi
top=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/tamrivo-runs.sh
source "$top/scripts/tamrivo-runs.sh"
expected=$top/tests/e2e/expected/example
work=$(mktemp -d /tmp/tamrivo-example-check.XXXXXX)
trap 'rm -rf "$work"' EXIT

cp -a "$top/examples/Repo" "$work/Repo"
prj=$work/Repo/Src/Prj
rm -f "$prj/App.vcxproj.new" "$prj/App.vcxproj.filters.new" "$prj/TamrivoReport.txt"
status=$(run_tamrivo "$platform" "$program" "$work/Repo/Src" 'Prj\App.vcxproj' \
    "$work/stdout" "$work/stderr")
mask_outputs "$prj" App.vcxproj

failures=0
fail() {
    echo "example check ($platform): $*" >&2
    failures=$((failures + 1))
}
[[ $status == 0 ]] || fail "exit code $status, not 0"
[[ ! -s $work/stderr ]] || fail "standard error: $(head -c 500 "$work/stderr")"
# Standard output ends its lines in CR LF on Windows, in LF on Linux, as the golden file does.
line_ends=(cat)
if [[ $platform == windows ]]; then
    line_ends=(sed 's/\r$//')
fi
if ! diff <(mask_console "$work/stdout" | "${line_ends[@]}") "$expected/stdout.txt"; then
    fail "standard output differs from $expected/stdout.txt"
fi
for output in App.vcxproj.new App.vcxproj.filters.new TamrivoReport.txt; do
    if ! cmp "$prj/$output" "$expected/$output"; then
        fail "Prj/$output differs from $expected/$output"
    fi
done

if ((failures)); then
    exit 1
fi
echo "example check ($platform): $program wrote exactly the expected files"
