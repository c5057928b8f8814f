# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian packages: `cpack -G DEB` in the build folder (or `make package` in
# the project folder) makes two, one per install component:
#   quorvex_<version>_<arch>.deb       the program folder, its link in bin/, the
#                                      desktop entry with its launcher, the menu
#                                      icon, the AppStream metainfo and the
#                                      browser edition's site in share/quorvex/web/;
#   quorvex-tool_<version>_<arch>.deb  quorvex-tool with its two tables, its link
#                                      and its manual page; no Qt.
# Each installs without the other, and each carries the copyright file.
set(QV_APP_ID org.orva.quorvex)
set(QV_PACKAGING_DIR "${CMAKE_CURRENT_LIST_DIR}")

# The version is written once, in the core.
file(STRINGS "${CMAKE_SOURCE_DIR}/src/core/lab/Version.h" _version_line REGEX "kProgramVersion")
string(REGEX MATCH "\"([^\"]+)\"" _ "${_version_line}")
set(QUORVEX_VERSION "${CMAKE_MATCH_1}")

# The desktop menu starts the program through the launcher, in the user's own
# folder; the entry names the launcher by its installed path.
install(PROGRAMS "${QV_PACKAGING_DIR}/quorvex-launch" DESTINATION ${QV_INSTALL_DIR} COMPONENT program)
install(CODE "
    file(READ \"${QV_PACKAGING_DIR}/${QV_APP_ID}.desktop.in\" _entry)
    string(REPLACE \"@QV_LAUNCH@\" \"\${CMAKE_INSTALL_PREFIX}/${QV_INSTALL_DIR}/quorvex-launch\"
           _entry \"\${_entry}\")
    set(_apps \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications\")
    file(MAKE_DIRECTORY \"\${_apps}\")
    file(WRITE \"\${_apps}/${QV_APP_ID}.desktop\" \"\${_entry}\")
" COMPONENT program)
install(DIRECTORY "${QV_ICON_DIR}/hicolor" DESTINATION share/icons COMPONENT program)
set(QV_METAINFO "${CMAKE_BINARY_DIR}/packaging/${QV_APP_ID}.metainfo.xml")
configure_file("${QV_PACKAGING_DIR}/${QV_APP_ID}.metainfo.xml.in" "${QV_METAINFO}" @ONLY)
install(FILES "${QV_METAINFO}" DESTINATION share/metainfo COMPONENT program)
# Debian's machine-readable copyright file: GPL-3.0-or-later, in each package.
install(FILES "${QV_PACKAGING_DIR}/copyright" DESTINATION share/doc/quorvex COMPONENT program)
install(FILES "${QV_PACKAGING_DIR}/copyright" DESTINATION share/doc/quorvex-tool COMPONENT tool)

# The manual page, compressed without a time stamp so that the bytes repeat.
find_program(QV_GZIP gzip REQUIRED)
set(QV_MAN_PAGE "${CMAKE_BINARY_DIR}/man/quorvex-tool.1")
configure_file("${QV_PACKAGING_DIR}/quorvex-tool.1.in" "${QV_MAN_PAGE}" @ONLY)
add_custom_command(OUTPUT "${QV_MAN_PAGE}.gz"
    COMMAND "${QV_GZIP}" -n -9 -c "${QV_MAN_PAGE}" > "${QV_MAN_PAGE}.gz"
    DEPENDS "${QV_MAN_PAGE}")
add_custom_target(qv_man ALL DEPENDS "${QV_MAN_PAGE}.gz")
install(FILES "${QV_MAN_PAGE}.gz" DESTINATION share/man/man1 COMPONENT tool)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VERSION "${QUORVEX_VERSION}")
set(CPACK_PACKAGE_CONTACT "Quorvex maintainers <maintainers@quorvex.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program tool)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
# Libraries come from dpkg-shlibdeps: Qt 6 for the program (libqt6gui6 also
# holds the xcb plugin that shows the windows on X), only the C and C++
# libraries for the tool.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME quorvex)
set(CPACK_DEBIAN_TOOL_PACKAGE_NAME quorvex-tool)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION
    "Jupiter's moons laboratory exercise for astronomy courses\n\
Students point a simulated telescope at Jupiter, step the clock night by\n\
night, measure how far each of the four large moons stands from the planet,\n\
and fit a sine curve to each moon's offsets to find its orbital period and\n\
radius and Jupiter's mass.")
set(CPACK_DEBIAN_TOOL_DESCRIPTION
    "Command-line companion of the Jupiter's moons laboratory exercise\n\
For instructors and lab administrators: answer keys, checking, fitting and\n\
grading measurement files, converting and merging a class's files, options\n\
files and the shared activity log. Needs no display.")
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION science)
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
                 COMMAND "${QV_APPSTREAMCLI}" validate --no-net --pedantic "${QV_METAINFO}")
    endif()
    add_test(NAME source_licence_lines
             COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR}
                     -P "${QV_PACKAGING_DIR}/CheckLicenceLines.cmake")
    # Both packages, built and taken apart (the optimised build's packages are
    # made the same way by `make package`).
    add_test(NAME package_split
             COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND} -DBUILD=${CMAKE_BINARY_DIR}
                     -DOUT=${CMAKE_BINARY_DIR}/package-check -DSITE=${QUORVEX_WEB_SITE}
                     -P "${QV_PACKAGING_DIR}/CheckPackages.cmake")
    # Without a built site (scripts/build-web, which `make test` runs first)
    # everything else is checked and the test counts as skipped.
    set_tests_properties(package_split PROPERTIES TIMEOUT 600
                         SKIP_REGULAR_EXPRESSION "package_split: the browser edition is not built")
    add_test(NAME package_man_page
             COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:quorvex-tool>
                     -DPAGE=${QV_MAN_PAGE}
                     -P "${QV_PACKAGING_DIR}/CheckManPage.cmake")
endif()
