#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh

echo "== Linux build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAMRIVO_BUILD_BENCHMARKS=ON
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2

echo "== Linux build and tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAMRIVO_SANITIZE=address,undefined \
      -DTAMRIVO_BUILD_BENCHMARKS=ON
cmake --build build-sanitize -j2
ctest --test-dir build-sanitize --output-on-failure -j2

echo "== The walk's threads under ThreadSanitizer"
cmake -S . -B build-thread -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAMRIVO_SANITIZE=thread
cmake --build build-thread -j2 --target scan_tests
TSAN_OPTIONS=halt_on_error=1 build-thread/tests/scan/scan_tests --gtest_filter='WalkSourceTree.*:WalkFolders.*'

echo "== Fuzz targets, 30 s each"
bash fuzz/run.sh 30

# Then Tamrivo.exe, cross-built, and its tests under Wine (TAMRIVO_WINDOWS_TESTS=0 leaves them out).
if [[ ${TAMRIVO_WINDOWS_TESTS:-1} != 0 ]]; then
    bash scripts/test-windows.sh
fi

# Last, the Windows zip and the Debian package, made and checked as users get them
# (TAMRIVO_PACKAGE_TESTS=0 leaves them out).
if [[ ${TAMRIVO_PACKAGE_TESTS:-1} != 0 ]]; then
    bash scripts/test-packages.sh
fi
