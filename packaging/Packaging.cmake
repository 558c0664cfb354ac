# Installation rules and the Debian package (cpack -G DEB, see
# scripts/package.sh). Included once from the top CMakeLists.txt.

include(GNUInstallDirs)

set(ORVANE_APP_ID com.halvero.OrvaneEditor)
set(ORVANE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ORVANE_PACKAGE_MAINTAINER "Orvane Editor maintainers <orvane-editor@halvero.invalid>"
    CACHE STRING "Maintainer field of the Debian package")

# Directories made by the package do not depend on the packager's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Where an installed editor lives, so that it can tell itself apart from a
# build tree even when its folder is writable (run as root). The library
# that compiles QtFileSystem must get it: without it an installed copy run
# as root writes its working file into the program folder, so a renamed
# library stops the configuration instead of dropping the value unnoticed.
if(NOT TARGET orvane_platform_qtcore)
    message(FATAL_ERROR "Packaging.cmake: orvane_platform_qtcore (QtFileSystem) not found")
endif()
target_compile_definitions(orvane_platform_qtcore PRIVATE
    ORVANE_INSTALLED_BINDIR="${CMAKE_INSTALL_FULL_BINDIR}")

# --- desktop integration -----------------------------------------------------
install(FILES ${ORVANE_PACKAGING_DIR}/orvane-editor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORVANE_PACKAGING_DIR}/orvane-editor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${ORVANE_PACKAGING_DIR}/${ORVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# --- programs and their manual pages -----------------------------------------
# A program with a hand-written page (packaging/<name>.1.in) gets that page
# with the version filled in; any other gets a page made from its --help, or
# from the option its target names in ORVANE_MANUAL_OPTION.
function(orvane_install_programs)
    set(packaging ${ORVANE_PACKAGING_DIR})
    set(pages)
    foreach(program orvane-editor orvane-sim orvane)
        if(NOT TARGET ${program})
            continue()
        endif()
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

        set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1.gz)
        set(common -DOUTPUT=${page} -DNAME=${program} -DVERSION=${PROJECT_VERSION})
        if(EXISTS ${packaging}/${program}.1.in)
            add_custom_command(OUTPUT ${page}
                COMMAND ${CMAKE_COMMAND} ${common} -DTEMPLATE=${packaging}/${program}.1.in
                        -P ${packaging}/Manpage.cmake
                DEPENDS ${packaging}/${program}.1.in ${packaging}/Manpage.cmake
                COMMENT "Manual page ${program}.1")
        else()
            get_target_property(option ${program} ORVANE_MANUAL_OPTION)
            if(NOT option)
                set(option --help)
            endif()
            add_custom_command(OUTPUT ${page}
                COMMAND ${CMAKE_COMMAND} ${common} -DPROGRAM=$<TARGET_FILE:${program}>
                        -DHELP_OPTION=${option} -P ${packaging}/Manpage.cmake
                DEPENDS ${program} ${packaging}/Manpage.cmake
                COMMENT "Manual page ${program}.1 from ${program} ${option}")
        endif()
        list(APPEND pages ${page})
    endforeach()
    add_custom_target(orvane_man_pages ALL DEPENDS ${pages})
    install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

# Run at the end of the top directory, so that a program defined after the
# line that includes this file (orvane, once it exists) is installed too.
cmake_language(DEFER CALL orvane_install_programs)

# --- the Debian package ------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane-editor)
set(CPACK_PACKAGE_VENDOR Halvero)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ORVANE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration editor for the Orvane marine instrument")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop editor for the Orvane marine engine and navigation display. It
reads the instrument's settings over a serial line, edits them with a live
picture of its LCD, keeps them in configuration files and writes them back in
the categories chosen; it also makes and restores backups inside the
instrument.
.
The package includes orvane-sim, a virtual instrument on a pseudo-terminal,
for trying the editor without hardware, and orvane, a command-line tool for
scripts and technicians.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps computes Depends from the libraries the programs link, and
# adds them to these. Qt loads its SQL drivers as plugins, which it cannot
# see: the SQLite driver holds a station's own production database, and
# PostgreSQL's serves the stations that share one.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6sql6-sqlite)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libqt6sql6-psql)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
