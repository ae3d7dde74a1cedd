#!/usr/bin/env bash
# The Windows stage: cross-builds Tamrivo.exe and its tests with MinGW-w64 and runs the tests
# under Wine, in a Wine prefix of the checkout's own (.wineprefix): all of them at Wine's code
# page 1252, then the cross-platform check again at 932.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
started=$SECONDS

echo "== Windows build (MinGW-w64) and tests under Wine"
bash cross/setup.sh "$top/.cross-cache"
# The Linux build's Tamrivo, for the test that compares what both builds write (made if missing).
if [[ ! -f build/CMakeCache.txt ]]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build build -j2 --target Tamrivo
cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cross/mingw-toolchain.cmake" -DCROSS_CACHE="$top/.cross-cache" \
      -DTAMRIVO_LINUX_TAMRIVO="$top/build/src/app/Tamrivo"

# Wine takes its ANSI code page from the locale's language and maps names to Linux through the
# locale's character set: en_US.UTF-8 gives code page 1252, as on most Western installations, and
# ja_JP.UTF-8 gives 932. Both locales are made if missing (Debian's locales package).
for language in en_US ja_JP; do
    if ! locale -a | grep -qx "$language.utf8"; then
        localedef -i "$language" -f UTF-8 "$language.UTF-8"
    fi
done
export LC_ALL=en_US.UTF-8

# The first Wine process starts the wineserver and Wine's services, which inherit its output: on
# a pipe (ctest, a CI log) every reader would wait for them. So they are started here, detached
# from the log, and stopped whatever happens.
export WINEPREFIX="$top/.wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
# A wineserver that still runs for this prefix (an earlier stage killed midway) makes -p fail; it
# serves as well.
wineserver -p </dev/null >/dev/null 2>&1 || true
# Once, right after Wine's installation, wineboot returned at once without creating the prefix;
# a second call did. A prefix that is still missing after that stops the stage here.
prefix_system=$WINEPREFIX/drive_c/windows/system32/kernel32.dll
for _ in 1 2; do
    timeout 300 wineboot -i </dev/null >/dev/null 2>&1 || true
    [[ -f $prefix_system ]] && break
done
if [[ ! -f $prefix_system ]]; then
    echo "test-windows: wineboot did not create the Wine prefix $WINEPREFIX" >&2
    exit 1
fi

# Building runs each test program once under Wine, to list its tests.
cmake --build build-win -j2
echo "Windows stage: set up and built in $((SECONDS - started)) s"

# Requires that Wine gives a program without a manifest the ANSI code page $1.
expect_wine_code_page() {
    local code_page
    code_page=$(/usr/lib/wine/wine64 reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' \
        /v ACP </dev/null 2>/dev/null | tr -d '\r' | awk '$1 == "ACP" { print $3 }')
    if [[ $code_page != "$1" ]]; then
        echo "test-windows: Wine's code page is ${code_page:-unknown} in $LC_ALL, not $1" >&2
        exit 1
    fi
    echo "== Windows tests under Wine at code page $1 ($LC_ALL)"
}

expect_wine_code_page 1252
ctest --test-dir build-win --output-on-failure -j2
# Again at 932, the test whose names need Tamrivo.exe's manifest to win over the system's code
# page (the test programs themselves carry no manifest and use only ASCII names).
export LC_ALL=ja_JP.UTF-8
expect_wine_code_page 932
ctest --test-dir build-win --output-on-failure -R '^CrossPlatformCheck\.'
echo "Windows stage: done in $((SECONDS - started)) s"
