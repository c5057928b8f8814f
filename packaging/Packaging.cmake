# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in the build folder (or `make package` in
# the project folder) makes quorvex_<version>_<arch>.deb. Besides the program
# folder and the links in bin/ it installs the desktop entry with its launcher,
# the menu icon, the AppStream metainfo and the manual page of quorvex-tool.
set(QV_APP_ID org.orva.quorvex)
set(QV_PACKAGING_DIR "${CMAKE_CURRENT_LIST_DIR}")

# The desktop menu starts the program through the launcher, in the user's own
# folder; the entry names the launcher by its installed path.
install(PROGRAMS "${QV_PACKAGING_DIR}/quorvex-launch" DESTINATION ${QV_INSTALL_DIR})
install(CODE "
    file(READ \"${QV_PACKAGING_DIR}/${QV_APP_ID}.desktop.in\" _entry)
    string(REPLACE \"@QV_LAUNCH@\" \"\${CMAKE_INSTALL_PREFIX}/${QV_INSTALL_DIR}/quorvex-launch\"
           _entry \"\${_entry}\")
    set(_apps \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications\")
    file(MAKE_DIRECTORY \"\${_apps}\")
    file(WRITE \"\${_apps}/${QV_APP_ID}.desktop\" \"\${_entry}\")
")
install(DIRECTORY "${QV_ICON_DIR}/hicolor" DESTINATION share/icons)
install(FILES "${QV_PACKAGING_DIR}/${QV_APP_ID}.metainfo.xml" DESTINATION share/metainfo)
# Debian's machine-readable copyright file: GPL-3.0-or-later.
install(FILES "${QV_PACKAGING_DIR}/copyright" DESTINATION share/doc/quorvex)

# The manual page, compressed without a time stamp so that the bytes repeat.
find_program(QV_GZIP gzip REQUIRED)
set(QV_MAN_PAGE "${CMAKE_BINARY_DIR}/man/quorvex-tool.1")
add_custom_command(OUTPUT "${QV_MAN_PAGE}.gz"
    COMMAND ${CMAKE_COMMAND} -E copy "${QV_PACKAGING_DIR}/quorvex-tool.1" "${QV_MAN_PAGE}"
    COMMAND "${QV_GZIP}" -n -9 -f "${QV_MAN_PAGE}"
    DEPENDS "${QV_PACKAGING_DIR}/quorvex-tool.1"
    VERBATIM)
add_custom_target(qv_man ALL DEPENDS "${QV_MAN_PAGE}.gz")
install(FILES "${QV_MAN_PAGE}.gz" DESTINATION share/man/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VERSION 2.002)
set(CPACK_PACKAGE_CONTACT "Quorvex maintainers <maintainers@quorvex.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Jupiter's moons laboratory exercise for astronomy courses")
set(CPACK_PACKAGE_DESCRIPTION
    "Students point a simulated telescope at Jupiter, step the clock night by\n\
night, measure how far each of the four large moons stands from the planet,\n\
and fit a sine curve to each moon's offsets to find its orbital period and\n\
radius and Jupiter's mass. quorvex-tool writes options files and computes\n\
answer keys for instructors.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
# The Qt 6 libraries come from dpkg-shlibdeps (libqt6gui6 also holds the xcb
# plugin that shows the windows on X); the windows use the Liberation fonts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
include(CPack)

# Cheap checks of the packaging files; the package itself is not built by them.
if(QUORVEX_TESTS)
    set(QV_DESKTOP_CHECK "${CMAKE_BINARY_DIR}/packaging/${QV_APP_ID}.desktop")
    set(QV_LAUNCH "/usr/${QV_INSTALL_DIR}/quorvex-launch")
    configure_file("${QV_PACKAGING_DIR}/${QV_APP_ID}.desktop.in" "${QV_DESKTOP_CHECK}" @ONLY)
    find_program(QV_DESKTOP_FILE_VALIDATE desktop-file-validate)
    if(QV_DESKTOP_FILE_VALIDATE)
        add_test(NAME package_desktop_entry COMMAND "${QV_DESKTOP_FILE_VALIDATE}" "${QV_DESKTOP_CHECK}")
    endif()
    find_program(QV_APPSTREAMCLI appstreamcli)
    if(QV_APPSTREAMCLI)
        add_test(NAME package_metainfo
                 COMMAND "${QV_APPSTREAMCLI}" validate --no-net --pedantic
                         "${QV_PACKAGING_DIR}/${QV_APP_ID}.metainfo.xml")
    endif()
    add_test(NAME source_licence_lines
             COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR}
                     -P "${QV_PACKAGING_DIR}/CheckLicenceLines.cmake")
    add_test(NAME package_man_page
             COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:quorvex-tool>
                     -DPAGE=${QV_PACKAGING_DIR}/quorvex-tool.1
                     -P "${QV_PACKAGING_DIR}/CheckManPage.cmake")
endif()
