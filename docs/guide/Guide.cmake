# The user's guide: compiled into the windows' library, so that Help > Orvane
# Help works offline and needs no path, and installed with the package, so
# that the README and a browser can open it too.

set(ORVANE_GUIDE_DIR ${CMAKE_CURRENT_LIST_DIR})
file(GLOB orvane_guide_files CONFIGURE_DEPENDS RELATIVE ${ORVANE_GUIDE_DIR}
    ${ORVANE_GUIDE_DIR}/*.html ${ORVANE_GUIDE_DIR}/*.css ${ORVANE_GUIDE_DIR}/images/*.png)
list(TRANSFORM orvane_guide_files PREPEND ${ORVANE_GUIDE_DIR}/ OUTPUT_VARIABLE orvane_guide_paths)

qt_add_resources(orvane_ui orvane_guide
    PREFIX /guide
    BASE ${ORVANE_GUIDE_DIR}
    FILES ${orvane_guide_paths})

include(GNUInstallDirs)
foreach(file IN LISTS orvane_guide_files)
    get_filename_component(folder ${file} DIRECTORY)
    install(FILES ${ORVANE_GUIDE_DIR}/${file}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvane-editor/guide/${folder})
endforeach()

# The screenshots in images/ come from the real windows, driven offscreen
# over the test platform (scripts/guide-screenshots.sh runs it).
if(TARGET orvane_test_support)
    add_executable(orvane_guide_screenshots ${ORVANE_GUIDE_DIR}/screenshots/GuideScreenshots.cpp)
    target_link_libraries(orvane_guide_screenshots PRIVATE orvane_ui orvane_test_support)
endif()
