# X11 harness pieces built here: the EDID helper that x11-session runs, the TestClient driver library that
# X11 tests link (it knows where framewright-testclient is), and the harness's own smoke test.
# Included at the end of tests/support/CMakeLists.txt.
add_executable(framewright-setedid setedid.cpp)
target_link_libraries(framewright-setedid PRIVATE PkgConfig::XCB)

add_library(framewright_testclient_driver STATIC testclient.cpp testclient.h windowmanagerpolicy.h)
target_include_directories(framewright_testclient_driver PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(framewright_testclient_driver PUBLIC Qt6::Core)
target_compile_definitions(framewright_testclient_driver
    PUBLIC FRAMEWRIGHT_TESTCLIENT="$<TARGET_FILE:framewright-testclient>")
add_dependencies(framewright_testclient_driver framewright-testclient framewright-setedid)

framewright_add_test(support.x11session LABEL x11 SOURCES x11session_test.cpp
    LIBRARIES PkgConfig::XCB Qt6::Core framewright_testclient_driver)

# Raw X requests for checking results independently of the code under test.
add_library(framewright_rawx STATIC rawx.cpp rawx.h)
target_include_directories(framewright_rawx PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(framewright_rawx PUBLIC Qt6::Core PkgConfig::XCB)
