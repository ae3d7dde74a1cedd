#!/usr/bin/env bash
# The packages as users get them, made by their own scripts and checked:
# - the Windows zip: exactly Tamrivo.exe, the README and the license in one folder; an executable
#   that imports only DLLs that come with Windows; unpacked, a run under a fresh Wine prefix on
#   the bundled example;
# - the Debian package: not one lintian tag, pedantic ones included; installed with dpkg, the
#   command tamrivo found on PATH and run on the bundled example, its man page found by man and
#   its changelog naming its version; then removed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
started=$SECONDS

echo "== Packages"
bash scripts/package-windows.sh
bash scripts/package-debian.sh
work=$(mktemp -d /tmp/tamrivo-packages.XXXXXX)
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
installed=0
cleanup() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    if ((installed)); then
        dpkg --purge tamrivo >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "test-packages: $*" >&2
    failures=$((failures + 1))
}

echo "== Windows zip"
zip_file=$(echo build-win/Tamrivo-*-win64.zip)
folder=$(basename "$zip_file" .zip)
if ! diff <(unzip -Z1 "$zip_file" | sort) \
    <(printf '%s\n' "$folder/LICENSE" "$folder/README.md" "$folder/Tamrivo.exe"); then
    fail "$zip_file does not hold exactly Tamrivo.exe, README.md and LICENSE in $folder/"
fi
unzip -q "$zip_file" -d "$work"
exe=$work/$folder/Tamrivo.exe
# Statically linked: no DLL of the compiler's runtime (libstdc++, libgcc, winpthread) is needed.
windows_dlls=" advapi32.dll bcrypt.dll kernel32.dll msvcrt.dll version.dll "
while read -r dll; do
    if [[ $windows_dlls != *" ${dll,,} "* ]]; then
        fail "Tamrivo.exe imports $dll, which does not come with Windows"
    fi
done < <(x86_64-w64-mingw32-objdump -p "$exe" | awk '$1 == "DLL" && $2 == "Name:" { print $3 }')
# A prefix of its own, as on a machine where nothing of the build is installed. Its services are
# started detached from this script's output (see scripts/test-windows.sh).
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
timeout 300 wineboot -i </dev/null >/dev/null 2>&1 || true
LC_ALL=C.UTF-8 bash scripts/check-example.sh windows "$exe" || fail "the unpacked Tamrivo.exe"
wineserver -k </dev/null >/dev/null 2>&1 || true

echo "== Debian package"
deb=$(echo build-deb/tamrivo_*_amd64.deb)
lintian --fail-on error,warning,info,pedantic --info --pedantic "$deb" || fail "lintian on $deb"
installed=1
dpkg -i "$deb"
if [[ $(command -v tamrivo) != /usr/bin/tamrivo ]]; then
    fail "the command tamrivo is not /usr/bin/tamrivo"
fi
bash scripts/check-example.sh linux tamrivo || fail "the installed command tamrivo"
if [[ $(man -w tamrivo) != /usr/share/man/man1/tamrivo.1.gz ]]; then
    fail "man does not find the page tamrivo(1)"
fi
# The changelog's newest entry is this version.
version=$(dpkg-deb -f "$deb" Version)
if ! zcat /usr/share/doc/tamrivo/changelog.gz | head -1 | grep -qF "tamrivo ($version)"; then
    fail "the changelog has no entry for $version"
fi
dpkg --purge tamrivo
installed=0

if ((failures)); then
    echo "test-packages: FAILED ($failures)" >&2
    exit 1
fi
echo "Packages: made and checked in $((SECONDS - started)) s"
