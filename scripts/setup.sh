#!/usr/bin/env bash
# Installs what building and testing Tamrivo on Debian needs, and any further packages named as
# arguments; does nothing that is already done.
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev libboost-filesystem-dev
          libboost-system-dev libgtest-dev googletest libbenchmark-dev libxml2-utils mono-xbuild
          clang-format util-linux time locales unzip dpkg-dev lintian man-db "$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
