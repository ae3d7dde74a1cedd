# GoogleTest: Debian's packaged build natively, the bundled sources when cross-compiling
# (the packaged libraries are built for the host).
if(TAMRIVO_BUILD_TESTS)
    if(CMAKE_CROSSCOMPILING)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
        # GoogleTest 1.11 and later define the GTest:: names themselves.
        if(NOT TARGET GTest::gtest_main)
            add_library(GTest::gtest ALIAS gtest)
            add_library(GTest::gtest_main ALIAS gtest_main)
        endif()
    else()
        find_package(GTest REQUIRED)
    endif()
    include(GoogleTest)
endif()

# Each test's time limit. Under Wine (the cross build's emulator) a test takes well under a second
# once the wineserver runs; a stuck Wine process must fail its test soon instead of holding CI.
if(CMAKE_CROSSCOMPILING)
    set(TAMRIVO_TEST_TIMEOUT 60)
else()
    set(TAMRIVO_TEST_TIMEOUT 300)
endif()

# tamrivo_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable whose cases are registered with CTest one by one (when cross-compiling,
# listed and run through CMAKE_CROSSCOMPILING_EMULATOR).
function(tamrivo_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} tamrivo_test_support GTest::gtest_main)
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 120
        PROPERTIES TIMEOUT ${TAMRIVO_TEST_TIMEOUT})
endfunction()
