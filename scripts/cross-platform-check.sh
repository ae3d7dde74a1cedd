#!/usr/bin/env bash
# Runs the Linux build of Tamrivo and Tamrivo.exe under Wine on copies of the same trees and
# requires the same bytes from both: the new project files as they are, the new filters files
# with their identifiers masked, the reports with their timestamps masked, the same exit code and
# error output, and the same standard output but for its line ends (CR LF on Windows). The trees:
# the bundled example and a generated one (ASCII names only: Wine maps names through the ANSI
# code page).
#
# Usage: scripts/cross-platform-check.sh LINUX_TAMRIVO WINDOWS_TAMRIVO_EXE
# A test of the Windows build (ctest in build-win); Wine's environment (WINEPREFIX, WINEDEBUG)
# comes from the caller, scripts/test-windows.sh. Each Wine run may take a minute at most.
set -euo pipefail

if (($# != 2)); then
    echo "usage: $0 LINUX_TAMRIVO WINDOWS_TAMRIVO_EXE" >&2
    exit 2
fi
top=$(cd "$(dirname "$0")/.." && pwd)
linux_tamrivo=$(realpath "$1")
windows_tamrivo=$(realpath "$2")
wine=/usr/lib/wine/wine64
work=$(mktemp -d /tmp/tamrivo-cross-check.XXXXXX)
trap 'rm -rf "$work"' EXIT

# A Linux path as Windows programs under Wine name it: the drive Z: is the Linux root.
windows_path() {
    local path=${1//\//\\}
    echo "Z:$path"
}

# A file with CR LF after each of the given lines.
crlf_file() {
    local file=$1
    shift
    mkdir -p "$(dirname "$file")"
    printf '%s\r\n' "$@" >"$file"
}

# The generated tree: several levels of folders and files with upper and lower case, digits,
# underscores, blanks and hyphens in their names, every extension Tamrivo knows and some it does
# not, the excluded component folders, and an old project whose items are partly in the tree.
generate_tree() {
    local repo=$1 src=$1/Src folder stem extension
    local folders=(App App/Core App/Core/Startup App/core_2 Lib Lib/Uart_9 Lib/10bit Lib/9bit
                   _Build "Docs and Notes" Zeta zeta_tools mid-level/Deep/Deeper/Deepest
                   Src_ThirdParty/Src_QRX5/Src_VORN-QRX5/Releases
                   Src_ThirdParty/Src_QRX5/Src_VORN-QRX5/Kept)
    local stems=(main Main_2 io 10x 9x _init alpha Beta "two words" a-b zz)
    local extensions=(.h .hpp .c .cpp .mak .arm .hxm .s .exe .bin .hex .ld .project .xdm .bat .ini
                      .gmk .a .txt .C .H .cc "" .h.bak)
    local i=0
    for folder in "${folders[@]}"; do
        mkdir -p "$src/$folder"
        for stem in "${stems[@]}"; do
            # Each folder gets a different slice of the names, so that folders differ.
            extension=${extensions[i % ${#extensions[@]}]}
            i=$((i + 1))
            printf 'content of %s\n' "$stem$extension" >"$src/$folder/$stem$extension"
        done
    done
    : >"$src/top.c"
    : >"$src/Makefile.mak"
    crlf_file "$src/Prj/App.vcxproj" \
        '<?xml version="1.0" encoding="utf-8"?>' \
        '<Project DefaultTargets="Build" ToolsVersion="15.0" xmlns="http://schemas.microsoft.com/developer/msbuild/2003">' \
        '  <ItemGroup>' \
        '    <ClCompile Include="..\..\Src\App\main.h" />' \
        '    <ClCompile Include="..\..\Src\top.c" />' \
        '    <ClCompile Include="..\..\Src\Gone\old.c" />' \
        '    <ClCompile Include="..\..\Src\top.c" />' \
        '  </ItemGroup>' \
        '  <ItemGroup Label="Kept">' \
        '    <ClInclude Include="..\..\Src\Lib\io.hpp" />' \
        '    <None Include="..\..\Src\Makefile.mak" />' \
        '    <None Include="..\..\Src\_Build\zz.ld">' \
        '      <DeploymentContent>true</DeploymentContent>' \
        '    </None>' \
        '  </ItemGroup>' \
        '  <Import Project="$(VCTargetsPath)\Microsoft.Cpp.targets" />' \
        '</Project>'
    crlf_file "$src/Prj/App.vcxproj.filters" \
        '<?xml version="1.0" encoding="utf-8"?>' \
        '<Project ToolsVersion="4.0" xmlns="http://schemas.microsoft.com/developer/msbuild/2003">' \
        '  <ItemGroup>' \
        '    <Filter Include="Old">' \
        '    </Filter>' \
        '  </ItemGroup>' \
        '</Project>'
}

# Masks what may differ between two runs: the filter identifiers and the report's timestamp.
mask_outputs() {
    local prj=$1/Src/Prj
    sed -i 's/<UniqueIdentifier>{[0-9a-f]\{40\}}<\/UniqueIdentifier>/<UniqueIdentifier>{masked}<\/UniqueIdentifier>/' \
        "$prj/App.vcxproj.filters.new"
    sed -i 's/^\(Tamrivo\.exe report TamrivoReport\.txt: \)[0-9-]\{10\} [0-9:]\{8\}\r$/\1<timestamp>\r/' \
        "$prj/TamrivoReport.txt"
}

# The masked standard output of a run, its line ends as they are.
mask_console() {
    sed -e 's/^\(Tamrivo\.exe version [0-9]*\.[0-9]* from \)[A-Z][a-z][a-z] [ 0-9][0-9] [0-9]\{4\}/\1<build date>/' \
        -e 's/^\(Tamrivo\.exe report TamrivoReport\.txt: \)[0-9-]\{10\} [0-9:]\{8\}/\1<timestamp>/' "$1"
}

failures=0
fail() {
    echo "cross-platform check: $*" >&2
    failures=$((failures + 1))
}

# Runs one build on a fresh copy of the tree at $3, in the same place for both builds, as the
# README does: from the source folder, the source root an absolute path (in Windows form for
# Tamrivo.exe). The copy is then kept as $work/<build>/<name>, its outputs as <name>.<build>.*.
run_build() {
    local build=$1 name=$2 tree=$3
    local copy=$work/run/$name
    rm -rf "$copy"
    mkdir -p "$work/run" "$work/$build"
    cp -a "$tree" "$copy"
    rm -f "$copy"/Src/Prj/{App.vcxproj.new,App.vcxproj.filters.new,TamrivoReport.txt}
    local status=0
    if [[ $build == linux ]]; then
        (cd "$copy/Src" && "$linux_tamrivo" --VcxprojPath=Prj/App.vcxproj \
            --VcxprojFiltersPath=Prj/App.vcxproj.filters --SrcPath="$copy/Src" \
            </dev/null >"$work/$name.$build.out" 2>"$work/$name.$build.err") || status=$?
    else
        (cd "$copy/Src" && timeout 60 "$wine" "$windows_tamrivo" \
            '--VcxprojPath=Prj\App.vcxproj' '--VcxprojFiltersPath=Prj\App.vcxproj.filters' \
            "--SrcPath=$(windows_path "$copy/Src")" \
            </dev/null >"$work/$name.$build.out" 2>"$work/$name.$build.err") || status=$?
    fi
    if [[ $status != 0 ]]; then
        fail "$name: exit code $status from the $build build, not 0"
    fi
    local output
    for output in App.vcxproj.new App.vcxproj.filters.new TamrivoReport.txt; do
        if [[ ! -s $copy/Src/Prj/$output ]]; then
            fail "$name: the $build build wrote no Prj/$output"
        elif grep -qv $'\r$' "$copy/Src/Prj/$output"; then
            fail "$name: Prj/$output of the $build build has lines without CR LF"
        fi
    done
    mask_outputs "$copy"
    mv "$copy" "$work/$build/$name"
}

# Requires the same bytes from both builds on the tree at $2.
check_tree() {
    local name=$1 tree=$2
    run_build linux "$name" "$tree"
    run_build windows "$name" "$tree"
    # Every file of both copies: the outputs masked, the old files and the tree as they were.
    if ! diff -r --no-dereference "$work/linux/$name" "$work/windows/$name" >"$work/$name.diff"; then
        fail "$name: the Linux and the Windows run left different files:"
        head -40 "$work/$name.diff" | cat -A >&2
    fi
    if ! diff <(mask_console "$work/$name.linux.out" | sed 's/$/\r/') \
        <(mask_console "$work/$name.windows.out") >"$work/$name.console.diff"; then
        fail "$name: standard output differs (beyond CR LF on Windows):"
        head -20 "$work/$name.console.diff" | cat -A >&2
    fi
    if ! cmp -s "$work/$name.linux.err" "$work/$name.windows.err"; then
        fail "$name: standard error differs"
    fi
    local items
    items=$(grep -cE '^    <(ClCompile|ClInclude|None) Include="' \
        "$work/linux/$name/Src/Prj/App.vcxproj.new" || true)
    echo "cross-platform check: $name: $items items, the same bytes from both builds"
}

check_tree example "$top/examples/Repo"
generate_tree "$work/generated"
check_tree generated "$work/generated"

if ((failures)); then
    echo "cross-platform check: FAILED ($failures differences)" >&2
    exit 1
fi
echo "cross-platform check: passed"
