#!/usr/bin/env bash
# Checks that the folders of src/ include each other in one direction only: platform, then model
# (the vocabulary several subsystems share), then the subsystems, then app. Among the subsystems,
# filters builds on crypto, and filters and report on the string rules of scan (its path rules and
# classification, a library of their own), not on the walk; nothing else crosses, and nothing
# includes app. An allowed entry is a folder, or one file of a folder. Prints each include that
# breaks the rule and fails if there is one.
set -euo pipefail
src=$(cd "$(dirname "$0")/../src" && pwd)

declare -A allowed=(
    [platform]="platform"
    [model]="model platform"
    [scan]="scan model platform"
    [project]="project model platform"
    [crypto]="crypto model platform"
    [filters]="filters scan/PathRules.h scan/Classification.h crypto model platform"
    [report]="report scan/PathRules.h scan/Classification.h model platform"
    [app]="app filters report project scan crypto model platform"
)

broken=0
for folder_path in "$src"/*/; do
    folder=$(basename "$folder_path")
    if [[ -z ${allowed[$folder]+set} ]]; then
        echo "check-layering: src/$folder has no place in the layers" >&2
        broken=1
        continue
    fi
    while IFS=: read -r file line include; do
        target=${include#*\"}
        target=${target%\"*}
        if [[ " ${allowed[$folder]} " != *" ${target%%/*} "* &&
            " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "check-layering: ${file#"$src"/}:$line includes $target, which src/$folder may not use" >&2
            broken=1
        fi
    done < <(grep -Hn '^#include "[^"]*/' -r "$folder_path" || true)
done
exit "$broken"
