# GoogleTest: Debian's packaged build natively, the bundled sources when cross-compiling
# (the packaged libraries are built for the host).
if(TAMRIVO_BUILD_TESTS)
    if(CMAKE_CROSSCOMPILING)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
    else()
        find_package(GTest REQUIRED)
    endif()
    include(GoogleTest)
endif()

# tamrivo_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable whose cases are registered with CTest one by one.
function(tamrivo_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} tamrivo_test_support GTest::gtest_main)
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 120
        PROPERTIES TIMEOUT 300)
endfunction()
