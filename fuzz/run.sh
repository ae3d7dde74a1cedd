#!/usr/bin/env bash
# Builds the fuzz targets (if needed) and runs each for SECONDS on a copy of its seed corpus in
# fuzz/work/; fails when a target finds a crash. Usage: fuzz/run.sh SECONDS [TARGET...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

if (($# < 1)) || ! [[ $1 =~ ^[0-9]+$ ]]; then
    echo "usage: fuzz/run.sh SECONDS [TARGET...]" >&2
    exit 2
fi
seconds=$1
shift
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(item_line_fuzzer project_pipeline_fuzzer path_rules_fuzzer)
fi

# The longest input each target takes: the standard regex engine recurses per character.
declare -A max_len=([item_line_fuzzer]=2000 [project_pipeline_fuzzer]=16384
                    [path_rules_fuzzer]=4096)

build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DTAMRIVO_BUILD_FUZZERS=ON -DTAMRIVO_BUILD_TESTS=OFF -DTAMRIVO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

failed=()
for target in "${targets[@]}"; do
    work=fuzz/work/$target
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/artifacts"
    cp fuzz/corpus/"$target"/* "$work/corpus/"
    echo "fuzz: $target for ${seconds} s"
    if ! "$build/fuzz/$target" -max_total_time="$seconds" -max_len="${max_len[$target]}" \
        -timeout=10 -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
        "$work/corpus" >"$work/log" 2>&1; then
        failed+=("$target")
        tail -n 40 "$work/log"
    fi
    grep -E '^(stat::number_of_executed_units|stat::new_units_added|Done )' "$work/log" || true
done

if ((${#failed[@]})); then
    echo "fuzz: findings in ${failed[*]} (inputs in fuzz/work/<target>/artifacts/)" >&2
    exit 1
fi
