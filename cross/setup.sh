#!/usr/bin/env bash
# Installs the MinGW-w64 cross compiler (posix thread model) and Wine, and builds Boost.Filesystem
# for 64-bit Windows into CACHE_DIR, all from Debian's own packages. Does nothing that is already
# done: a cache built by this same script from the same packages is kept as it is.
#
# Usage: cross/setup.sh CACHE_DIR [BOOST_SERIES]    (BOOST_SERIES: 1.81 by default, or 1.74)
#
# CACHE_DIR/include  the Boost headers, unpacked from the series' -dev package (not installed: it
#                    conflicts with the native side's Boost headers)
# CACHE_DIR/lib      libboost_filesystem.a for x86_64-w64-mingw32 and a CMake package
#                    (cmake/Boost-<version>/) defining Boost::headers, Boost::boost, Boost::system
#                    and Boost::filesystem
set -euo pipefail

if (($# < 1 || $# > 2)) || [[ -z $1 ]]; then
    echo "usage: $0 CACHE_DIR [BOOST_SERIES]" >&2
    exit 2
fi
top=$(cd "$(dirname "$0")/.." && pwd)
cache=$(realpath -m "$1")
if [[ $cache == / ]]; then
    echo "cross/setup: the cache cannot be the root folder" >&2
    exit 2
fi
series=${2:-1.81}
target=x86_64-w64-mingw32
compiler=$target-g++-posix
headers_package=libboost$series-dev
export DEBIAN_FRONTEND=noninteractive

# The native build's packages (CMake, Ninja, the GoogleTest sources) and the cross tools.
bash "$top/scripts/setup.sh" g++-mingw-w64-x86-64-posix wine64 wine xz-utils patch

step() { echo "cross/setup: $*"; }

# The version of the headers package that apt would take now; refreshes stale package lists once.
candidate_version() {
    local version
    version=$(apt-cache policy "$headers_package" 2>/dev/null | awk '$1 == "Candidate:" { print $2 }')
    if [[ -z $version || $version == "(none)" ]]; then
        apt-get update -qq
        version=$(apt-cache policy "$headers_package" | awk '$1 == "Candidate:" { print $2 }')
    fi
    if [[ -z $version || $version == "(none)" ]]; then
        echo "cross/setup: no package $headers_package for Boost series $series" >&2
        exit 1
    fi
    echo "$version"
}

version=$(candidate_version)
compiler_version=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
recipe=$(sha1sum "$0" | cut -c1-40)
stamp_text="$headers_package=$version compiler=$compiler_version recipe=$recipe"
stamp=$cache/.boost-stamp
if [[ -f $stamp && $(<"$stamp") == "$stamp_text" ]]; then
    step "Boost.Filesystem for $target up to date in $cache"
    exit 0
fi

step "building Boost.Filesystem ($headers_package $version) for $target into $cache"
rm -rf "${cache:?}/include" "${cache:?}/lib" "$stamp"
work=$cache/work
rm -rf "$work"
mkdir -p "$work/deb" "$work/source" "$work/tree" "$work/obj" "$cache/lib"
trap 'rm -rf "$work"' EXIT
sandbox=(-o APT::Sandbox::User=root)

# 1. The headers, from the -dev package of exactly this version.
(cd "$work/deb" && apt-get download -qq "${sandbox[@]}" "$headers_package=$version")
deb=$(echo "$work"/deb/*.deb)
dpkg-deb -x "$deb" "$work/deb/root"
mkdir -p "$cache/include"
mv "$work/deb/root/usr/include/boost" "$cache/include/boost"

# 2. The sources of the same build: the source package and version named by the .deb itself,
# fetched with a private apt state so that the system's own package lists stay as they are.
source_field=$(dpkg-deb -f "$deb" Source)
source_name=${source_field%% *}
source_version=$version
if [[ $source_field =~ \((.*)\) ]]; then
    source_version=${BASH_REMATCH[1]}
fi
mkdir -p "$work/apt/sources.d" "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
# deb-src entries for the archives that serve this version, as apt's policy lists them.
apt-cache policy "$headers_package" | awk -v version="$version" '
    ($1 == version || ($1 == "***" && $2 == version)) { listed = 1; next }
    listed && $NF == "Packages" {
        slash = index($3, "/")
        print "deb-src " $2 " " substr($3, 1, slash - 1) " " substr($3, slash + 1)
        next
    }
    listed && $2 ~ /status$/ { next }
    listed { exit }' >"$work/apt/sources.d/boost.list"
if [[ ! -s $work/apt/sources.d/boost.list ]]; then
    echo "cross/setup: no archive listed for $headers_package $version" >&2
    exit 1
fi
private_apt=(apt-get -qq "${sandbox[@]}"
             -o Dir::Etc::SourceParts="$work/apt/sources.d" -o Dir::Etc::SourceList=/dev/null
             -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache="$work/apt/cache")
"${private_apt[@]}" update
(cd "$work/source" && "${private_apt[@]}" source --download-only "$source_name=$source_version")

# 3. Only the library's sources and the version header, then Debian's patches for them.
tar -xJf "$work"/source/*.orig.tar.xz -C "$work/tree" --strip-components=1 --wildcards \
    '*/libs/filesystem/src/*' '*/libs/config/include/boost/version.hpp'
tar -xJf "$work"/source/*.debian.tar.xz -C "$work/tree" debian/patches
series_file=$work/tree/debian/patches/series
if [[ -f $series_file ]]; then
    while read -r patch_name level _; do
        [[ -z $patch_name || $patch_name == \#* ]] && continue
        patch_file=$work/tree/debian/patches/$patch_name
        strip=${level:--p1}
        touched=$(awk '($1 == "---" || $1 == "+++") && $2 != "/dev/null" { print $2 }' \
                      "$patch_file" | sed 's|^[^/]*/||' | sort -u)
        grep -q '^libs/filesystem/src/' <<<"$touched" || continue
        if grep -qv '^libs/filesystem/src/' <<<"$touched"; then
            echo "cross/setup: $patch_name also changes files outside libs/filesystem/src" >&2
            exit 1
        fi
        step "applying Debian patch $patch_name"
        patch "$strip" --quiet --forward -d "$work/tree" <"$patch_file"
    done <"$series_file"
fi

# 4. The headers and the sources must be the same Boost.
boost_version() { awk '$1 == "#define" && $2 == "BOOST_VERSION" { print $3 }' "$1"; }
header_version=$(boost_version "$cache/include/boost/version.hpp")
source_boost_version=$(boost_version "$work/tree/libs/config/include/boost/version.hpp")
if [[ -z $header_version || $header_version != "$source_boost_version" ]]; then
    echo "cross/setup: BOOST_VERSION differs: headers $header_version, sources $source_boost_version" >&2
    exit 1
fi
boost_dotted="$((header_version / 100000)).$((header_version / 100 % 1000)).$((header_version % 100))"

# 5. Compile as Boost's own CMake build does for WIN32 with this compiler (init_priority and
# BCrypt are available, std::atomic_ref is not in C++17), two files at a time.
export compiler cache work
# shellcheck disable=SC2016 # expanded by the inner shell
find "$work/tree/libs/filesystem/src" -name '*.cpp' -print0 | xargs -0 -P2 -I{} sh -c '
    "$compiler" -std=c++17 -O2 -DNDEBUG -DBOOST_FILESYSTEM_SOURCE -DBOOST_FILESYSTEM_STATIC_LINK=1 \
        -DBOOST_ALL_NO_LIB -DBOOST_USE_WINDOWS_H -DWIN32_LEAN_AND_MEAN -DNOMINMAX \
        -D_SCL_SECURE_NO_WARNINGS -D_SCL_SECURE_NO_DEPRECATE -D_CRT_SECURE_NO_WARNINGS \
        -D_CRT_SECURE_NO_DEPRECATE -DBOOST_FILESYSTEM_HAS_INIT_PRIORITY \
        -DBOOST_FILESYSTEM_HAS_BCRYPT -DBOOST_FILESYSTEM_NO_CXX20_ATOMIC_REF \
        -isystem "$cache/include" -I"$work/tree/libs/filesystem/src" \
        -c "$1" -o "$work/obj/$(basename "$1" .cpp).o"' sh {}
$target-ar rcs "$cache/lib/libboost_filesystem.a" "$work"/obj/*.o

# 6. The CMake package, found by find_package(Boost ... COMPONENTS filesystem system).
package_dir=$cache/lib/cmake/Boost-$boost_dotted
mkdir -p "$package_dir"
cat >"$package_dir/BoostConfig.cmake" <<EOF
# Boost $boost_dotted for $target: the headers and a static Boost.Filesystem, written by
# cross/setup.sh. Boost.System is header-only; BCrypt serves unique_path.
get_filename_component(_boost_prefix "\${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
set(Boost_VERSION $boost_dotted)
set(Boost_VERSION_STRING $boost_dotted)
set(Boost_INCLUDE_DIRS "\${_boost_prefix}/include")
if(NOT TARGET Boost::headers)
    add_library(Boost::headers INTERFACE IMPORTED)
    set_target_properties(Boost::headers PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES "\${_boost_prefix}/include")
    add_library(Boost::boost INTERFACE IMPORTED)
    set_target_properties(Boost::boost PROPERTIES INTERFACE_LINK_LIBRARIES Boost::headers)
    add_library(Boost::system INTERFACE IMPORTED)
    set_target_properties(Boost::system PROPERTIES INTERFACE_LINK_LIBRARIES Boost::headers)
    add_library(Boost::filesystem STATIC IMPORTED)
    set_target_properties(Boost::filesystem PROPERTIES
        IMPORTED_LOCATION "\${_boost_prefix}/lib/libboost_filesystem.a"
        INTERFACE_LINK_LIBRARIES "Boost::headers;bcrypt;advapi32")
endif()
foreach(_boost_component IN ITEMS headers boost system filesystem)
    set(Boost_\${_boost_component}_FOUND TRUE)
endforeach()
foreach(_boost_component IN LISTS Boost_FIND_COMPONENTS)
    if(NOT Boost_\${_boost_component}_FOUND AND Boost_FIND_REQUIRED_\${_boost_component})
        set(Boost_FOUND FALSE)
        set(Boost_NOT_FOUND_MESSAGE "component \${_boost_component} is not built for $target")
    endif()
endforeach()
unset(_boost_component)
unset(_boost_prefix)
EOF
cat >"$package_dir/BoostConfigVersion.cmake" <<EOF
# Any requested Boost $((header_version / 100000)).x up to $boost_dotted is served.
set(PACKAGE_VERSION $boost_dotted)
if(PACKAGE_FIND_VERSION VERSION_GREATER PACKAGE_VERSION
   OR NOT PACKAGE_FIND_VERSION_MAJOR EQUAL $((header_version / 100000)))
    set(PACKAGE_VERSION_COMPATIBLE FALSE)
else()
    set(PACKAGE_VERSION_COMPATIBLE TRUE)
    if(PACKAGE_FIND_VERSION VERSION_EQUAL PACKAGE_VERSION)
        set(PACKAGE_VERSION_EXACT TRUE)
    endif()
endif()
EOF

rm -rf "$work"
echo "$stamp_text" >"$stamp"
step "done: $(du -sh "$cache" | cut -f1) in $cache"
