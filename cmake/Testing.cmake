enable_testing()
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
    # Debian's googletest package ships its source; build it with the cross compiler.
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

    # Test programs run under Wine, in a prefix and a virtual X display kept
    # under the build folder (creating a prefix takes a while, so it is reused).
    set(PEBBO_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${PEBBO_WINE_STATE})
    add_test(NAME wine.start COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-session.sh start ${PEBBO_WINE_STATE})
    add_test(NAME wine.stop COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-session.sh stop ${PEBBO_WINE_STATE})
    set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine)
    set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)
else()
    find_package(GTest REQUIRED)
endif()

# One GoogleTest program, its cases registered with CTest one by one.
function(pebbo_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    pebbo_warnings(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest_main GTest::gmock)
    if(CMAKE_CROSSCOMPILING)
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                             PROPERTIES FIXTURES_REQUIRED wine)
    else()
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
    endif()
endfunction()
