#!/usr/bin/env bash
# Makes the Windows package build-win/Tamrivo-<version>-win64.zip: Tamrivo.exe (statically
# linked, cross-built with MinGW-w64 as scripts/test-windows.sh builds it, in build-win), the
# README and the license, packed by CPack (cmake/TamrivoPackaging.cmake).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash cross/setup.sh "$top/.cross-cache"

cmake --preset mingw-cross
cmake --build build-win -j2 --target Tamrivo
rm -f build-win/Tamrivo-*-win64.zip
(cd build-win && cpack -G ZIP)
echo "package-windows: made $(echo build-win/Tamrivo-*-win64.zip)"
