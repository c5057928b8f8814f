# SPDX-License-Identifier: GPL-3.0-or-later
# The Qt-free build (QUORVEX_CORE_ONLY): the core, its tests and the tools that
# need no Qt. Natively it also writes the data files the core's tests read; a
# cross build (ARM64, WebAssembly) cannot run its generators and reads the
# files of a native build instead, from QUORVEX_DATA_DIR.
set(QUORVEX_DATA_DIR "${QV_BIN}" CACHE PATH
    "Folder holding the generated Leap Seconds.txt and Outer_Pl_Tbl.dat the core's tests read")

option(QUORVEX_WEB "With emscripten: build the browser edition's core module (web/)" OFF)

if(EMSCRIPTEN AND QUORVEX_WEB)
    # The browser's module links its own options (web/CMakeLists.txt): it is
    # no node program.
    add_subdirectory(web)
elseif(EMSCRIPTEN)
    # Programs for node that read and write the real file system and end with
    # the status of main. The loader is in the one .js file, so node never
    # fetches a separate .wasm. printf converts long double with all its bits
    # (by default emscripten's prints it as a double).
    add_link_options(-sNODERAWFS=1 -sENVIRONMENT=node -sSINGLE_FILE=1 -sALLOW_MEMORY_GROWTH=1
                     -sEXIT_RUNTIME=1 -sPRINTF_LONG_DOUBLE=1)
endif()

# The generators' tools add themselves to qv_data.
if(NOT CMAKE_CROSSCOMPILING)
    add_subdirectory(tools/leapseconds)
    add_subdirectory(tools/outerplanets)
else()
    # quorvex-tool finds its two tables beside itself, as installed.
    foreach(f IN ITEMS "Leap Seconds.txt" "Outer_Pl_Tbl.dat")
        configure_file("${QUORVEX_DATA_DIR}/${f}" "${QV_BIN}/${f}" COPYONLY)
    endforeach()
endif()
add_subdirectory(tools/crosscheck)
# quorvex-tool for ARM64 (WebAssembly has no use for it).
if(NOT EMSCRIPTEN)
    add_subdirectory(tools/quorvex-tool)
endif()

if(QUORVEX_TESTS)
    enable_testing()
    # GoogleTest from its source (Debian's googletest package): the cross
    # targets have no GoogleTest libraries installed.
    set(QV_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source folder")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    if(EMSCRIPTEN)
        set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    endif()
    add_subdirectory("${QV_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)

    set(QV_TESTS "${CMAKE_SOURCE_DIR}/tests")
    # The tests of the core's rooms, all in one program.
    file(GLOB QV_CORE_TEST_SRC CONFIGURE_DEPENDS "${QV_TESTS}/core/*/*.cpp")
    add_executable(test_core ${QV_CORE_TEST_SRC} "${QV_TESTS}/support/core_main.cpp"
                   "${QV_TESTS}/support/ScriptedReporter.cpp" "${QV_TESTS}/support/TempDir.cpp")
    target_include_directories(test_core PRIVATE "${QV_TESTS}")
    target_link_libraries(test_core PRIVATE qv_core GTest::gtest)
    target_compile_definitions(test_core PRIVATE
        QV_BIN_DIR="${QUORVEX_DATA_DIR}" QV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    if(NOT CMAKE_CROSSCOMPILING)
        add_dependencies(test_core qv_data)
    endif()
    # One test for the whole program: a cross build runs it through its
    # emulator (qemu-aarch64, node), where listing the tests one by one would
    # start the emulator for each.
    add_test(NAME core COMMAND test_core)
endif()
