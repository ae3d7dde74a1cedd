#!/usr/bin/env bash
# Times whole Tamrivo runs against `find -L` over the same warm, generated trees.
#
#   bash bench/run.sh [file counts...]      default: 10000 100000 300000
#   REPEATS=n bash bench/run.sh             timed pairs per size (default 7, at least 5)
#
# Builds Release into bench/out/build, generates each tree once into bench/out (kept, keyed by
# file count and by the generator's sources) and, per size, alternates a Tamrivo run (from the
# repository's Src folder, with the arguments a user gives) with `find -L` over the same root and
# with StatWalk, the floor of a walk that makes one status query per entry (readdir and fstatat
# only; find -L queries only folders and links). Prints the medians, the ratios Tamrivo / find
# and Tamrivo / floor, Tamrivo's peak resident memory and its processor time, summed over its
# threads (the walk uses one per processor, at most four).
set -euo pipefail
export LC_ALL=C

top=$(cd "$(dirname "$0")/.." && pwd)
out="$top/bench/out"
build="$out/build"
repeats=${REPEATS:-7}
if ((repeats < 5)); then
    echo "run.sh: REPEATS must be at least 5" >&2
    exit 2
fi
sizes=("$@")
if ((${#sizes[@]} == 0)); then
    sizes=(10000 100000 300000)
fi
if [[ ! -x /usr/bin/time ]]; then
    echo "run.sh: /usr/bin/time is missing (Debian package time)" >&2
    exit 2
fi

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAMRIVO_BUILD_TESTS=OFF \
    -DTAMRIVO_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j2 --target Tamrivo GenerateBenchRepository StatWalk >/dev/null
tamrivo="$build/src/app/Tamrivo"
generator="$build/bench/GenerateBenchRepository"
floor="$build/bench/StatWalk"

# The generator's version: its sources and the tables it draws the tree from.
version=$(cd "$top" && cat bench/RepositoryGenerator.cpp bench/RepositoryGenerator.h \
    bench/GenerateBenchRepository.cpp src/scan/Classification.h src/scan/PathRules.h |
    sha1sum | cut -c1-12)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The repository for a file count, generated unless a complete one of this version is there.
repository_for() {
    local count=$1
    local repo="$out/repo-$count-$version"
    if [[ ! -f "$repo/generated.txt" ]]; then
        rm -rf "$out/repo-$count-"*
        mkdir -p "$repo"
        echo "generating $count files into ${repo#"$top/"} ..." >&2
        "$generator" "$count" "$repo" >"$scratch/summary"
        mv "$scratch/summary" "$repo/generated.txt"
    fi
    echo "$repo"
}

# Runs a command under /usr/bin/time -v with its output dropped; appends its wall time in
# seconds to the file $1, its processor time (user and system, all threads) to $1.cpu and its
# peak resident memory in kB to $1.rss.
timed() {
    local record=$1
    shift
    local start=$EPOCHREALTIME status=0
    /usr/bin/time -v -o "$scratch/time" "$@" >/dev/null 2>>"$scratch/stderr" || status=$?
    local end=$EPOCHREALTIME
    if ((status != 0)); then
        echo "run.sh: '$*' ended with exit code $status" >&2
        cat "$scratch/time" "$scratch/stderr" >&2
        exit 1
    fi
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f\n", e - s }' >>"$record"
    awk -F': ' '/Maximum resident set size/ { print $2 }' "$scratch/time" >>"$record.rss"
    awk -F': ' '/(User|System) time/ { cpu += $2 } END { printf "%.4f\n", cpu }' "$scratch/time" \
        >>"$record.cpu"
}

median() {
    sort -g "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

maximum() {
    sort -g "$1" | tail -n 1
}

echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores;" \
    "load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Tamrivo: $(git -C "$top" rev-parse --short HEAD) (Release); $repeats pairs per size"

declare -A tamrivo_median find_median floor_median rss cpu
for count in "${sizes[@]}"; do
    repo=$(repository_for "$count")
    root="$repo/Src"
    runs="$scratch/$count"
    tamrivo_command=("$tamrivo" --VcxprojPath=Prj/App.vcxproj
        --VcxprojFiltersPath=Prj/App.vcxproj.filters --SrcPath="$root")
    : >"$runs.tamrivo"
    : >"$runs.tamrivo.cpu"
    : >"$runs.find"
    : >"$runs.floor"
    : >"$scratch/stderr"
    cd "$root"
    # One untimed run of each warms the caches; then the timed pairs alternate.
    timed "$scratch/warm" "${tamrivo_command[@]}"
    timed "$scratch/warm" find -L "$root"
    timed "$scratch/warm" "$floor" "$root"
    for ((i = 0; i < repeats; ++i)); do
        timed "$runs.tamrivo" "${tamrivo_command[@]}"
        timed "$runs.find" find -L "$root"
        timed "$runs.floor" "$floor" "$root"
    done
    cd "$top"
    if [[ -s "$scratch/stderr" ]]; then
        echo "run.sh: the runs wrote to standard error:" >&2
        head -n 5 "$scratch/stderr" >&2
    fi

    tamrivo_median[$count]=$(median "$runs.tamrivo")
    find_median[$count]=$(median "$runs.find")
    floor_median[$count]=$(median "$runs.floor")
    rss[$count]=$(maximum "$runs.tamrivo.rss")
    cpu[$count]=$(median "$runs.tamrivo.cpu")
    echo
    echo "$count files ($(paste -sd';' "$repo/generated.txt" | sed 's/;/; /g'))"
    echo "  Tamrivo s: $(paste -sd' ' "$runs.tamrivo")"
    echo "  find -L s: $(paste -sd' ' "$runs.find")"
    echo "  floor   s: $(paste -sd' ' "$runs.floor")"
done

echo
printf '%8s  %10s  %10s  %10s  %14s  %14s  %16s  %14s\n' files "Tamrivo s" "find -L s" "floor s" \
    "Tamrivo/find" "Tamrivo/floor" "Tamrivo peak MB" "Tamrivo CPU s"
for count in "${sizes[@]}"; do
    awk -v n="$count" -v t="${tamrivo_median[$count]}" -v f="${find_median[$count]}" \
        -v w="${floor_median[$count]}" -v r="${rss[$count]}" -v c="${cpu[$count]}" \
        'BEGIN { printf "%8d  %10.3f  %10.3f  %10.3f  %14.2f  %14.2f  %16.1f  %14.3f\n", n, t, f, w, t / f, t / w, r / 1024, c }'
done
if [[ -n "${tamrivo_median[100000]:-}" && -n "${tamrivo_median[300000]:-}" ]]; then
    awk -v t1="${tamrivo_median[100000]}" -v t3="${tamrivo_median[300000]}" \
        -v f1="${find_median[100000]}" -v f3="${find_median[300000]}" \
        -v w1="${floor_median[100000]}" -v w3="${floor_median[300000]}" \
        'BEGIN { printf "growth 300000 / 100000 files: Tamrivo %.2f, find -L %.2f, floor %.2f\n", t3 / t1, f3 / f1, w3 / w1 }'
fi
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
