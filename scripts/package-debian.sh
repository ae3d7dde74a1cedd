#!/usr/bin/env bash
# Makes the Debian package build-deb/tamrivo_<version>_amd64.deb: the command tamrivo in
# /usr/bin, its man page, the copyright file and the changelog. A Release build with Debian's
# build flags, hardening included, in build-deb, packed by CPack (cmake/TamrivoPackaging.cmake).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh

# The banner shows the build date, as it should; -Wdate-time would warn about that.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CPPFLAGS_MAINT_STRIP=-Wdate-time
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAMRIVO_BUILD_TESTS=OFF \
      -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
      -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build build-deb -j2
rm -f build-deb/tamrivo_*.deb
(cd build-deb && cpack -G DEB)
echo "package-debian: made $(echo build-deb/tamrivo_*_amd64.deb)"
