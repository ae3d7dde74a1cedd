#!/usr/bin/env bash
# Runs the README's CI recipe for one platform as written, taken from the README itself: on a copy
# of the bundled example that a run with --Replace has brought in line, the recipe must pass; after
# a file is added to the tree, it must fail.
#
# Usage: scripts/check-readme-ci-recipe.sh linux TAMRIVO       (the Linux build; the shell step)
#        scripts/check-readme-ci-recipe.sh windows TAMRIVO_EXE (under Wine's cmd; the cmd step)
# A test of each build (ctest); for windows, Wine's environment comes from scripts/test-windows.sh.
set -euo pipefail

if (($# != 2)) || [[ $1 != linux && $1 != windows ]]; then
    echo "usage: $0 linux|windows TAMRIVO" >&2
    exit 2
fi
platform=$1
top=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/tamrivo-runs.sh
source "$top/scripts/tamrivo-runs.sh"
program=$(realpath "$2")
work=$(mktemp -d /tmp/tamrivo-ci-recipe.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The fenced block that follows the line "<!-- ci-recipe: $platform -->" in the README.
awk -v marker="<!-- ci-recipe: $platform -->" '
    $0 == marker { found = 1; next }
    found && /^```/ { if (inside) exit; inside = 1; next }
    inside { print }' "$top/README.md" >"$work/recipe"
if [[ ! -s $work/recipe ]]; then
    echo "ci recipe: the README has no $platform recipe" >&2
    exit 1
fi

# The recipe finds the program by the name a user's installation gives it.
mkdir -p "$work/bin"
if [[ $platform == linux ]]; then
    ln -s "$program" "$work/bin/tamrivo"
else
    cp "$program" "$work/bin/Tamrivo.exe"
    sed -i 's/$/\r/' "$work/recipe"
fi

repo=$work/Repo
cp -a "$top/examples/Repo" "$repo"
rm -f "$repo"/Src/Prj/*.new "$repo/Src/Prj/TamrivoReport.txt"
if [[ $platform == linux ]]; then
    adopt=("$program" "--SrcPath=$repo/Src")
else
    adopt=("$wine" "$program" "--SrcPath=$(windows_path "$repo/Src")")
fi
(cd "$repo/Src" && "${adopt[@]}" --Replace --VcxprojPath=Prj/App.vcxproj \
    --VcxprojFiltersPath=Prj/App.vcxproj.filters </dev/null >/dev/null) ||
    { echo "ci recipe: --Replace failed" >&2; exit 1; }

# Runs the recipe from the repository's top folder; prints its exit code.
run_recipe() {
    local status=0
    if [[ $platform == linux ]]; then
        (cd "$repo" && PATH="$work/bin:$PATH" bash -e "$work/recipe" </dev/null >"$work/out" 2>&1) ||
            status=$?
    else
        cp "$work/recipe" "$repo/recipe.cmd"
        (cd "$repo" && WINEPATH=$(windows_path "$work/bin") timeout 120 "$wine" cmd /c recipe.cmd \
            </dev/null >"$work/out" 2>&1) || status=$?
        rm "$repo/recipe.cmd"
    fi
    echo "$status"
}

status=$(run_recipe)
if [[ $status != 0 ]]; then
    echo "ci recipe ($platform): exit code $status on a tree in line, not 0:" >&2
    cat "$work/out" >&2
    exit 1
fi
: >"$repo/Src/Lib/uart.c"
status=$(run_recipe)
if [[ $status == 0 ]] || ! grep -q "out of line" "$work/out"; then
    echo "ci recipe ($platform): exit code $status after a file was added, and no message:" >&2
    cat "$work/out" >&2
    exit 1
fi
echo "ci recipe ($platform): passes in line, fails after a file was added"
