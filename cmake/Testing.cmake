enable_testing()
include(GoogleTest)

# A hung test costs this much, not the whole run: every case takes a few
# seconds at most. The sanitizer presets allow more, as their full bench runs
# several times slower.
set(PEBBO_TEST_TIMEOUT 60 CACHE STRING "Seconds a test case may run before it counts as hung")

if(CMAKE_CROSSCOMPILING)
    # Debian's googletest package ships its source; build it with the cross compiler.
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

    # Test programs, and their listing for test discovery, run under Wine in a
    # prefix and a virtual X display kept under the build folder (creating a
    # prefix takes a while, so it is reused).
    set(PEBBO_WINE_SESSION ${CMAKE_SOURCE_DIR}/cmake/wine-session.sh)
    set(PEBBO_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PEBBO_WINE_SESSION} run ${PEBBO_WINE_STATE})
    add_test(NAME wine.start COMMAND ${PEBBO_WINE_SESSION} start ${PEBBO_WINE_STATE})
    add_test(NAME wine.stop COMMAND ${PEBBO_WINE_SESSION} stop ${PEBBO_WINE_STATE})
    set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
    set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT ${PEBBO_TEST_TIMEOUT})
    # The first listing on a fresh build folder also creates the prefix.
    set(PEBBO_DISCOVERY_OPTIONS DISCOVERY_TIMEOUT 180)
    set(PEBBO_TEST_PROPERTIES FIXTURES_REQUIRED wine)
else()
    find_package(GTest REQUIRED)
endif()

# One GoogleTest program, its cases registered with CTest one by one.
function(pebbo_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    pebbo_warnings(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest_main GTest::gmock)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST ${PEBBO_DISCOVERY_OPTIONS}
                         PROPERTIES TIMEOUT ${PEBBO_TEST_TIMEOUT} ${PEBBO_TEST_PROPERTIES})
endfunction()
