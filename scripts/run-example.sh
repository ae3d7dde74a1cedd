#!/usr/bin/env bash
# Sets up, builds Tamrivo and runs it on the bundled example; the outputs land beside the
# example's project files, the report in examples/Repo/Src/Prj.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/setup.sh"
cmake -S "$top" -B "$top/build-example" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAMRIVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$top/build-example" --target Tamrivo
cd "$top/examples/Repo/Src"
status=0
"$top/build-example/src/app/Tamrivo" \
    --VcxprojPath=Prj/App.vcxproj \
    --VcxprojFiltersPath=Prj/App.vcxproj.filters \
    --SrcPath="$top/examples/Repo/Src" || status=$?
echo "exit code: $status; new files: examples/Repo/Src/Prj/App.vcxproj.new, App.vcxproj.filters.new"
exit "$status"
