# Helpers that register tests, fuzz targets and subfolders the same way in every folder.
#
# framewright_add_test(<subsystem.unit> LABEL unit|gui|x11|wayland SOURCES ... [LIBRARIES ...] [WINDOW_MANAGERS ...]
#                      [COMPOSITOR <name>])
#   unit: plain test; gui: Qt widgets on the offscreen platform;
#   wayland: run inside tests/support/<COMPOSITOR>-session (that compositor started headless with two outputs),
#   labelled wayland and compositor-<name>;
#   x11: run inside tests/support/x11-session (private Xorg with two outputs, openbox), labelled wm-openbox;
#   WINDOW_MANAGERS: also run as <subsystem.unit>.<window manager> under each of these (names of
#   tests/support/window-managers.sh; ALL: every one besides openbox), each in a session of its own, labelled x11
#   and wm-<window manager>.
#
# framewright_add_fuzzer(<name> SOURCES ... [LIBRARIES ...] [CORPUS <folder>])
#   With FRAMEWRIGHT_FUZZ (clang): a libFuzzer binary. Otherwise the same entry point linked with
#   fuzz/replay_main.cpp and run by CTest over the committed corpus, so every finding is replayed.

# framewright_add_subfolders(): adds every subfolder of the current folder that has a CMakeLists.txt, so a new
# tool, fuzz target or benchmark needs no line elsewhere.
function(framewright_add_subfolders)
    file(GLOB entries LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
    foreach(entry ${entries})
        if(IS_DIRECTORY ${entry} AND EXISTS ${entry}/CMakeLists.txt)
            add_subdirectory(${entry})
        endif()
    endforeach()
endfunction()

set(FRAMEWRIGHT_X11_SESSION "${CMAKE_SOURCE_DIR}/tests/support/x11-session")
# The window managers x11-session runs besides openbox (tests/support/window-managers.sh).
set(FRAMEWRIGHT_OTHER_WINDOW_MANAGERS xfwm4 fluxbox icewm marco metacity kwin_x11)

function(framewright_add_test name)
    cmake_parse_arguments(ARG "" "LABEL;COMPOSITOR" "SOURCES;LIBRARIES;WINDOW_MANAGERS" ${ARGN})
    if(ARG_WINDOW_MANAGERS STREQUAL "ALL")
        set(ARG_WINDOW_MANAGERS ${FRAMEWRIGHT_OTHER_WINDOW_MANAGERS})
    endif()
    if(NOT ARG_LABEL MATCHES "^(unit|gui|x11|wayland)$")
        message(FATAL_ERROR "framewright_add_test(${name}): LABEL must be unit, gui, x11 or wayland")
    endif()
    if(ARG_LABEL STREQUAL "wayland" AND NOT ARG_COMPOSITOR)
        message(FATAL_ERROR "framewright_add_test(${name}): LABEL wayland needs COMPOSITOR")
    endif()
    string(REPLACE "." "_" target "test_${name}")
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE Qt6::Test ${ARG_LIBRARIES})
    if(ARG_LABEL STREQUAL "x11")
        add_test(NAME ${name} COMMAND ${FRAMEWRIGHT_X11_SESSION} $<TARGET_FILE:${target}>)
        set_tests_properties(${name} PROPERTIES LABELS "x11;wm-openbox")
        set(tests ${name})
        foreach(wm ${ARG_WINDOW_MANAGERS})
            add_test(NAME ${name}.${wm} COMMAND ${FRAMEWRIGHT_X11_SESSION} --wm ${wm} $<TARGET_FILE:${target}>)
            set_tests_properties(${name}.${wm} PROPERTIES LABELS "x11;wm-${wm}")
            list(APPEND tests ${name}.${wm})
        endforeach()
        set_tests_properties(${tests} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" RESOURCE_LOCK x11 TIMEOUT 300)
    elseif(ARG_LABEL STREQUAL "wayland")
        add_test(NAME ${name}
                 COMMAND ${CMAKE_SOURCE_DIR}/tests/support/${ARG_COMPOSITOR}-session $<TARGET_FILE:${target}>)
        set_tests_properties(${name} PROPERTIES LABELS "wayland;compositor-${ARG_COMPOSITOR}" TIMEOUT 300)
    else()
        add_test(NAME ${name} COMMAND ${target})
        set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL} TIMEOUT 300)
        if(ARG_LABEL STREQUAL "gui")
            set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
        endif()
    endif()
endfunction()

function(framewright_add_fuzzer name)
    cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBRARIES" ${ARGN})
    set(target "fuzz_${name}")
    if(FRAMEWRIGHT_FUZZ)
        add_executable(${target} ${ARG_SOURCES})
        target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
        target_link_options(${target} PRIVATE -fsanitize=fuzzer)
    else()
        add_executable(${target} ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
        if(ARG_CORPUS)
            add_test(NAME fuzz.${name} COMMAND ${target} ${ARG_CORPUS})
            set_tests_properties(fuzz.${name} PROPERTIES LABELS unit)
        endif()
    endif()
    target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES})
endfunction()
