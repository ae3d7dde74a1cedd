#!/usr/bin/env bash
# Runs the Linux build of Tamrivo and Tamrivo.exe under Wine on copies of the same trees and
# requires the same bytes from both: the new project files as they are, the new filters files
# with their identifiers masked, the reports with their timestamps masked, the same exit code and
# error output, and the same standard output but for its line ends (CR LF on Windows). The trees:
# the bundled example, a generated one with ASCII names, and one whose names (of its files and
# folders, of its root's path and of the project and filters files) are outside any single-byte
# code page: Cyrillic, CJK, an emoji, a combining accent. Tamrivo.exe's manifest makes UTF-8 its
# code page, whatever Wine's own is.
#
# Usage: scripts/cross-platform-check.sh LINUX_TAMRIVO WINDOWS_TAMRIVO_EXE
# A test of the Windows build (ctest in build-win); Wine's environment (WINEPREFIX, WINEDEBUG, a
# UTF-8 locale, whose language sets Wine's code page) comes from the caller,
# scripts/test-windows.sh. Each Wine run may take a minute at most.
set -euo pipefail

if (($# != 2)); then
    echo "usage: $0 LINUX_TAMRIVO WINDOWS_TAMRIVO_EXE" >&2
    exit 2
fi
top=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/tamrivo-runs.sh
source "$top/scripts/tamrivo-runs.sh"
linux_tamrivo=$(realpath "$1")
windows_tamrivo=$(realpath "$2")
# Wine maps Linux names to Windows names through the locale's character set.
if [[ $(locale charmap) != UTF-8 ]]; then
    echo "cross-platform check: needs a UTF-8 locale (LC_ALL), not $(locale charmap)" >&2
    exit 2
fi
work=$(mktemp -d /tmp/tamrivo-cross-check.XXXXXX)
trap 'rm -rf "$work"' EXIT

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

# The project of the tree below, relative to its source folder: its folder and its name are
# outside any single-byte code page.
names_project='Проект 😀\Приложение.vcxproj'

# A tree whose names no single-byte code page holds: Cyrillic, Greek, CJK and emoji in folders and
# files, "é" both as one character and as "e" with a combining accent (two names, as on NTFS),
# and an old project whose items name some of them.
generate_names_tree() {
    local src=$1/Src path
    local files=(Модуль/драйвер.c Модуль/Ёж.h Модуль/Подпапка/данные.txt 日本語/処理.cpp
                 日本語/ヘッダ.hpp 日本語/ビルド.mak "😀 Emoji/🚀 launch.s" "😀 Emoji/notes.txt"
                 $'cafe\xcc\x81.c' $'caf\xc3\xa9.h' Ελληνικά/αρχείο.c Straße/Öl.cpp ascii/plain.c)
    for path in "${files[@]}"; do
        mkdir -p "$(dirname "$src/$path")"
        printf 'content of %s\n' "$path" >"$src/$path"
    done
    local project=$src/${names_project//\\//}
    crlf_file "$project" \
        '<?xml version="1.0" encoding="utf-8"?>' \
        '<Project DefaultTargets="Build" ToolsVersion="15.0" xmlns="http://schemas.microsoft.com/developer/msbuild/2003">' \
        '  <ItemGroup>' \
        '    <ClCompile Include="..\..\Src\Модуль\драйвер.c" />' \
        '    <ClCompile Include="..\..\Src\Старое\удалено.c" />' \
        '    <ClInclude Include="..\..\Src\'$'caf\xc3\xa9.h''" />' \
        '  </ItemGroup>' \
        '</Project>'
    crlf_file "$project.filters" \
        '<?xml version="1.0" encoding="utf-8"?>' \
        '<Project ToolsVersion="4.0" xmlns="http://schemas.microsoft.com/developer/msbuild/2003">' \
        '</Project>'
}

failures=0
fail() {
    echo "cross-platform check: $*" >&2
    failures=$((failures + 1))
}

# Runs one build on a fresh copy of the tree at $3, in the same place for both builds, as the
# README does: from the source folder, the project $4 (Windows form) relative to it, the source
# root an absolute path (in Windows form for Tamrivo.exe). The copy is then kept as
# $work/<build>/<name>, its outputs as <name>.<build>.*.
run_build() {
    local build=$1 name=$2 tree=$3 project=$4
    local copy=$work/run/$name
    local program=$linux_tamrivo
    [[ $build == windows ]] && program=$windows_tamrivo
    local folder=${project%\\*}
    local project_name=${project##*\\}
    local outputs=("$project_name.new" "$project_name.filters.new" TamrivoReport.txt)
    rm -rf "$copy"
    mkdir -p "$work/run" "$work/$build"
    cp -a "$tree" "$copy"
    local prj=$copy/Src/${folder//\\//}
    rm -f "${outputs[@]/#/$prj/}"
    local status
    status=$(run_tamrivo "$build" "$program" "$copy/Src" "$project" \
        "$work/$name.$build.out" "$work/$name.$build.err")
    if [[ $status != 0 ]]; then
        fail "$name: exit code $status from the $build build, not 0"
    fi
    local output
    for output in "${outputs[@]}"; do
        if [[ ! -s $prj/$output ]]; then
            fail "$name: the $build build wrote no $folder\\$output"
        elif grep -qv $'\r$' "$prj/$output"; then
            fail "$name: $folder\\$output of the $build build has lines without CR LF"
        fi
    done
    mask_outputs "$prj" "$project_name"
    mv "$copy" "$work/$build/$name"
}

# Requires the same bytes from both builds on the tree at $2 with the project $3 (Windows form).
check_tree() {
    local name=$1 tree=$2 project=$3
    run_build linux "$name" "$tree" "$project"
    run_build windows "$name" "$tree" "$project"
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
        "$work/linux/$name/Src/${project//\\//}.new" || true)
    echo "cross-platform check: $name: $items items, the same bytes from both builds"
}

check_tree example "$top/examples/Repo" 'Prj\App.vcxproj'
generate_tree "$work/generated"
check_tree generated "$work/generated" 'Prj\App.vcxproj'
generate_names_tree "$work/names"
# The copy's folder, and so the source root's path, is named outside any single-byte code page too.
check_tree "Имена 名前 😀 café" "$work/names" "$names_project"

if ((failures)); then
    echo "cross-platform check: FAILED ($failures differences)" >&2
    exit 1
fi
echo "cross-platform check: passed"
