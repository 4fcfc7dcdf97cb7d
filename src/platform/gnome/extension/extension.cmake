# Framewright's GNOME Shell extension: its uuid, and the extension folder put together for one GNOME Shell version.
# GNOME 45 changed extensions from legacy imports to ES modules; both variants share service.js, between the
# imports and the extension class of their extension.js.
#
# framewright_gnome_extension(<GNOME Shell major version> <output folder>) writes metadata.json and extension.js.
# Also run as a script (tests/support/gnome-session): cmake -DSHELL_VERSION=<major> -DOUTPUT=<folder> -P extension.cmake
set(FRAMEWRIGHT_GNOME_EXTENSION_UUID "framewright@framewright.org")
# The newest GNOME Shell whose extension and mutter interfaces the extension was checked against.
set(FRAMEWRIGHT_GNOME_SHELL_CHECKED 50)

function(framewright_gnome_extension shell_version output)
    set(source ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
    if(shell_version LESS 43)
        message(FATAL_ERROR "GNOME Shell ${shell_version}: the extension needs GNOME Shell 43 or later")
    elseif(shell_version LESS 45)
        set(variant 43)
        set(FRAMEWRIGHT_GNOME_SHELL_VERSIONS "\"43\", \"44\"")
    else()
        set(variant 45)
        set(FRAMEWRIGHT_GNOME_SHELL_VERSIONS "\"45\"")
        foreach(version RANGE 46 ${FRAMEWRIGHT_GNOME_SHELL_CHECKED})
            string(APPEND FRAMEWRIGHT_GNOME_SHELL_VERSIONS ", \"${version}\"")
        endforeach()
        # GNOME Shell loads only an extension that names its version; one built for a newer shell names it too.
        if(shell_version GREATER FRAMEWRIGHT_GNOME_SHELL_CHECKED)
            message(WARNING "GNOME Shell ${shell_version}: the extension was checked against GNOME Shell 43 to "
                            "${FRAMEWRIGHT_GNOME_SHELL_CHECKED}; it is marked for ${shell_version} as well")
            string(APPEND FRAMEWRIGHT_GNOME_SHELL_VERSIONS ", \"${shell_version}\"")
        endif()
    endif()
    file(READ ${source}/service.js FRAMEWRIGHT_SERVICE)
    configure_file(${source}/${variant}/extension.js.in ${output}/extension.js @ONLY)
    configure_file(${source}/metadata.json.in ${output}/metadata.json @ONLY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source}/service.js)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    if(NOT SHELL_VERSION OR NOT OUTPUT)
        message(FATAL_ERROR "usage: cmake -DSHELL_VERSION=<major> -DOUTPUT=<folder> -P extension.cmake")
    endif()
    framewright_gnome_extension(${SHELL_VERSION} ${OUTPUT})
endif()
