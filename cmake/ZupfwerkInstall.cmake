# Installing Zupfwerk as a desktop program, and its Debian package.
#   cmake --install <build> [--prefix <folder>]    cpack (in the build folder) for zupfwerk_<version>_<arch>.deb
include(GNUInstallDirs)

set(ZW_APP_ID de.zupfwerk.Zupfwerk)
set(ZW_ICON_SIZES 16 24 32 48 64 128 256)
set(ZW_SCREENSHOT_NAME hauptfenster.png)
set(ZW_METAINFO "${CMAKE_BINARY_DIR}/dist/${ZW_APP_ID}.metainfo.xml")
set(ZW_DATA_SUBDIR "${CMAKE_INSTALL_DATADIR}/zupfwerk")
set(ZW_HOMEPAGE_URL "https://zupfwerk.de/" CACHE STRING "The program's home page")
set(ZW_SCREENSHOT_URL "${ZW_HOMEPAGE_URL}bilder/${ZW_SCREENSHOT_NAME}" CACHE STRING
    "Where the screenshot of the main window (dist/${ZW_SCREENSHOT_NAME} in the build folder) is published")
set(ZW_PACKAGE_MAINTAINER "Zupfwerk <zupfwerk@zupfwerk.de>" CACHE STRING "Maintainer of the Debian package")

# The program finds the default chord table in the data folder, both where this prefix puts it and
# relative to its own folder, so a package installed under another prefix works as well.
file(RELATIVE_PATH ZW_DATA_DIR_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_DATADIR}/zupfwerk")
set_source_files_properties("${PROJECT_SOURCE_DIR}/app/TableLookup.cpp" TARGET_DIRECTORY zw_app PROPERTIES
    COMPILE_DEFINITIONS "ZW_DATA_DIR=\"${CMAKE_INSTALL_FULL_DATADIR}/zupfwerk\";ZW_DATA_DIR_FROM_BIN=\"${ZW_DATA_DIR_FROM_BIN}\"")

add_subdirectory(dist)

install(TARGETS zupfwerk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
get_target_property(ZW_TABLE_FILE zw_default_chord_table ZW_TABLE_FILE)
install(FILES "${ZW_TABLE_FILE}" DESTINATION ${ZW_DATA_SUBDIR})
install(FILES dist/${ZW_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES dist/${ZW_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY "${CMAKE_BINARY_DIR}/dist/icons/" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES dist/${ZW_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
    RENAME ${ZW_APP_ID}.xml)
install(FILES "${ZW_METAINFO}" DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual pages are German like the program: in the default section, where man finds them under any
# locale, and in the German one. Debian wants them, the changelog too, compressed with gzip -9n.
set(ZW_DEB_VERSION "${PROJECT_VERSION}-1")
configure_file(dist/debian/changelog.in "${CMAKE_BINARY_DIR}/dist/changelog.Debian" @ONLY)
set(ZW_GZIPPED)
foreach(source IN ITEMS "${PROJECT_SOURCE_DIR}/dist/zupfwerk.1" "${PROJECT_SOURCE_DIR}/dist/zupfwerk-export.1"
                        "${CMAKE_BINARY_DIR}/dist/changelog.Debian")
    get_filename_component(name "${source}" NAME)
    set(gzipped "${CMAKE_BINARY_DIR}/dist/${name}.gz")
    add_custom_command(OUTPUT "${gzipped}"
        COMMAND gzip -9nc "${source}" > "${gzipped}"
        DEPENDS "${source}"
        VERBATIM)
    list(APPEND ZW_GZIPPED "${gzipped}")
endforeach()
add_custom_target(zw_gzipped_docs ALL DEPENDS ${ZW_GZIPPED})
foreach(page IN ITEMS zupfwerk zupfwerk-export)
    install(FILES "${CMAKE_BINARY_DIR}/dist/${page}.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES "${CMAKE_BINARY_DIR}/dist/${page}.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man1)
endforeach()
install(FILES dist/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zupfwerk)
install(FILES "${CMAKE_BINARY_DIR}/dist/changelog.Debian.gz" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zupfwerk)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zupfwerk)
set(CPACK_PACKAGE_VENDOR Zupfwerk)
set(CPACK_PACKAGE_CONTACT "${ZW_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chord recognition and chord tables for fretted instruments")
# Debian wants the long description in lines of at most 80 columns.
set(CPACK_PACKAGE_DESCRIPTION "Build a grip on a fretboard diagram and Zupfwerk names the chord with German
note names, lists the alternatives and keeps grips in chord tables (.cho) of up
to 10000 grips per instrument, with a catalogue of chord types that the user
edits. The program speaks German.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A Debian revision: the package carries its own changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZW_HOMEPAGE_URL}")
# The Qt libraries come from dpkg-shlibdeps; the platform plugins are loaded at run time, so no
# library dependency names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation")
include(CPack)
