#!/usr/bin/env bash
# Times whole Tamrivo runs against the floor of any walk and against fd-find over the same warm,
# generated trees.
#
#   bash bench/run.sh [file counts...]      default: 10000 100000 300000
#   REPEATS=n bash bench/run.sh             timed rounds per size (default 7, at least 5)
#
# Builds Release into bench/out/build, generates each tree once into bench/out (kept, keyed by
# file count and by the generator's sources) and, per size, alternates in each round:
# - a Tamrivo run (from the repository's Src folder, with the arguments a user gives);
# - StatWalk --threads=<cores>, the parallel floor: readdir and one fstatat per entry, nothing
#   else, spread over all cores through a shared stack of open folders;
# - StatWalk --keep --threads=<cores>, the keeping floor: the same, keeping each entry's path
#   until the end, each folder's entries sorted, as any walk that gives what it found must;
# - `fdfind -L -u`, Debian's parallel walker (package fd-find);
# - Tamrivo and StatWalk (one thread, the one-thread floor), each pinned to one core (taskset).
# Prints the medians, the ratios, Tamrivo's peak resident memory and its processor time, summed
# over its threads.
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
bash "$top/scripts/setup.sh" fd-find >&2

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

# The timed commands of a round, by name; "pinned" ones run on the first core only.
names=(tamrivo floor keep fd pinned floor1)
declare -A median_of rss cpu
for count in "${sizes[@]}"; do
    repo=$(repository_for "$count")
    root="$repo/Src"
    runs="$scratch/$count"
    tamrivo_command=("$tamrivo" --VcxprojPath=Prj/App.vcxproj
        --VcxprojFiltersPath=Prj/App.vcxproj.filters --SrcPath="$root")
    declare -A command_of=(
        [tamrivo]="${tamrivo_command[*]}"
        [floor]="$floor --threads=$(nproc) $root"
        [keep]="$floor --keep --threads=$(nproc) $root"
        [fd]="fdfind -L -u . $root"
        [pinned]="taskset -c 0 ${tamrivo_command[*]}"
        [floor1]="taskset -c 0 $floor $root")
    : >"$scratch/stderr"
    cd "$root"
    # One untimed run of each warms the caches; then the timed rounds alternate.
    for name in "${names[@]}"; do
        : >"$runs.$name"
        # shellcheck disable=SC2086 # the commands are word lists without blanks in their words
        timed "$scratch/warm" ${command_of[$name]}
    done
    for ((i = 0; i < repeats; ++i)); do
        for name in "${names[@]}"; do
            # shellcheck disable=SC2086
            timed "$runs.$name" ${command_of[$name]}
        done
    done
    cd "$top"
    if [[ -s "$scratch/stderr" ]]; then
        echo "run.sh: the runs wrote to standard error:" >&2
        head -n 5 "$scratch/stderr" >&2
    fi

    for name in "${names[@]}"; do
        median_of[$name.$count]=$(median "$runs.$name")
    done
    rss[$count]=$(maximum "$runs.tamrivo.rss")
    cpu[$count]=$(median "$runs.tamrivo.cpu")
    echo
    echo "$count files ($(paste -sd';' "$repo/generated.txt" | sed 's/;/; /g'))"
    for name in "${names[@]}"; do
        printf '  %-8s s: %s\n' "$name" "$(paste -sd' ' "$runs.$name")"
    done
done

echo
echo "tamrivo: a whole run; floor: the parallel floor on $(nproc) cores; keep: the keeping floor;"
echo "fd: fdfind -L -u;"
echo "pinned: a whole run on one core; floor1: the one-thread floor on that core"
printf '%8s  %8s  %8s  %8s  %8s  %8s  %8s  %13s  %12s  %10s  %15s  %8s  %8s\n' files tamrivo \
    floor keep fd pinned floor1 tamrivo/floor tamrivo/keep tamrivo/fd pinned/floor1 "peak MB" \
    "CPU s"
for count in "${sizes[@]}"; do
    awk -v n="$count" -v t="${median_of[tamrivo.$count]}" -v w="${median_of[floor.$count]}" \
        -v k="${median_of[keep.$count]}" -v f="${median_of[fd.$count]}" \
        -v p="${median_of[pinned.$count]}" -v w1="${median_of[floor1.$count]}" \
        -v r="${rss[$count]}" -v c="${cpu[$count]}" \
        'BEGIN { printf "%8d  %8.3f  %8.3f  %8.3f  %8.3f  %8.3f  %8.3f  %13.2f  %12.2f  %10.2f  %15.2f  %8.1f  %8.3f\n", n, t, w, k, f, p, w1, t / w, t / k, t / f, p / w1, r / 1024, c }'
done
if [[ -n "${rss[100000]:-}" && -n "${rss[300000]:-}" ]]; then
    awk -v t1="${median_of[tamrivo.100000]}" -v t3="${median_of[tamrivo.300000]}" \
        -v m1="${rss[100000]}" -v m3="${rss[300000]}" \
        'BEGIN { printf "growth 300000 / 100000 files: time %.2f, peak memory %.2f\n", t3 / t1, m3 / m1 }'
fi
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
