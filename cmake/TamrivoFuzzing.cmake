# libFuzzer targets: with TAMRIVO_BUILD_FUZZERS the whole build is instrumented for coverage and
# built with AddressSanitizer and UndefinedBehaviorSanitizer, so that the libraries the targets
# link are searched as deeply as the targets themselves. Use a build folder of its own, configured
# with clang (fuzz/run.sh does).
option(TAMRIVO_BUILD_FUZZERS "Build the libFuzzer targets under fuzz/ (clang only)" OFF)

if(TAMRIVO_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "TAMRIVO_BUILD_FUZZERS needs clang: configure a build folder of its "
                            "own with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    # Any finding of a sanitizer ends the run, so that the fuzzer records it as a crash.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

# tamrivo_add_fuzzer(<name> SOURCES <files...> LIBS <targets...>)
# One libFuzzer executable; libFuzzer supplies its main.
function(tamrivo_add_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
