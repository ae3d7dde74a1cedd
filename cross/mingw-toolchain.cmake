# Cross build of Tamrivo.exe for 64-bit Windows with Debian's MinGW-w64 (posix thread model:
# GoogleTest needs std::mutex), with the tests run under Wine. Boost comes from the cache that
# cross/setup.sh fills: -DCROSS_CACHE=<folder>, by default .cross-cache in the source folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAMRIVO_MINGW_TARGET x86_64-w64-mingw32)
# Named with their thread model: installing the win32 variant moves the unsuffixed names to it.
set(CMAKE_C_COMPILER ${TAMRIVO_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAMRIVO_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${TAMRIVO_MINGW_TARGET}-windres)

# Without -static the programs need libstdc++, libgcc and winpthread DLLs beside them; under Wine
# their absence shows only as a silent exit code 53.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# /usr/bin/wine is a wrapper script that prints a notice about a missing wine32; the loader itself
# runs the 64-bit programs.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)

if(NOT CROSS_CACHE)
    get_filename_component(CROSS_CACHE "${CMAKE_CURRENT_LIST_DIR}/../.cross-cache" ABSOLUTE)
endif()
set(CROSS_CACHE "${CROSS_CACHE}" CACHE PATH "Folder filled by cross/setup.sh")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CROSS_CACHE)

set(CMAKE_FIND_ROOT_PATH /usr/${TAMRIVO_MINGW_TARGET} ${CROSS_CACHE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
