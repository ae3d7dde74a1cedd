# Sourced by the scripts that run a built Tamrivo on a copy of a tree and look at what it wrote
# (scripts/cross-platform-check.sh, scripts/check-example.sh): running it the way a user of its
# platform would, and masking what differs from run to run.

wine=/usr/lib/wine/wine64

# A Linux path as Windows programs under Wine name it: the drive Z: is the Linux root.
windows_path() {
    local path=${1//\//\\}
    echo "Z:$path"
}

# run_tamrivo PLATFORM PROGRAM SRC PROJECT OUTPUT ERROR
# Runs PROGRAM from the source folder SRC as the README does: the project PROJECT (Windows form,
# relative to SRC, its filters file beside it) and the source root SRC as an absolute path. On
# linux PROGRAM is a Linux build; on windows it is Tamrivo.exe, run under Wine with backslashes
# and the root in Windows form, for a minute at most. Standard output and error go to the files
# OUTPUT and ERROR; prints the exit code.
run_tamrivo() {
    local platform=$1 program=$2 src=$3 project=$4 output=$5 error=$6
    local status=0
    if [[ $platform == linux ]]; then
        (cd "$src" && "$program" "--VcxprojPath=${project//\\//}" \
            "--VcxprojFiltersPath=${project//\\//}.filters" "--SrcPath=$src" \
            </dev/null >"$output" 2>"$error") || status=$?
    else
        (cd "$src" && timeout 60 "$wine" "$program" "--VcxprojPath=$project" \
            "--VcxprojFiltersPath=$project.filters" "--SrcPath=$(windows_path "$src")" \
            </dev/null >"$output" 2>"$error") || status=$?
    fi
    echo "$status"
}

# mask_outputs FOLDER PROJECT_NAME
# Masks, in place, what differs between two runs: the identifiers in the new filters file and the
# timestamp of the report, both in FOLDER, as the golden files in tests/e2e/expected have them;
# a file that is missing stays missing.
mask_outputs() {
    local filters=$1/$2.filters.new report=$1/TamrivoReport.txt
    if [[ -f $filters ]]; then
        sed -i 's/<UniqueIdentifier>{[0-9a-f]\{40\}}<\/UniqueIdentifier>/<UniqueIdentifier>{xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx}<\/UniqueIdentifier>/' \
            "$filters"
    fi
    if [[ -f $report ]]; then
        sed -i 's/^\(Tamrivo\.exe report TamrivoReport\.txt: \)[0-9-]\{10\} [0-9:]\{8\}\r$/\1<timestamp>\r/' \
            "$report"
    fi
}

# mask_console FILE
# Prints the standard output in FILE with its build date and timestamp masked, line ends as they
# are.
mask_console() {
    sed -e 's/^\(Tamrivo\.exe version [0-9]*\.[0-9]* from \)[A-Z][a-z][a-z] [ 0-9][0-9] [0-9]\{4\}/\1<build date>/' \
        -e 's/^\(Tamrivo\.exe report TamrivoReport\.txt: \)[0-9-]\{10\} [0-9:]\{8\}/\1<timestamp>/' "$1"
}
