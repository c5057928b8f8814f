# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the two Debian packages from the build folder BUILD into OUT and
# checks that they install apart: no file in both, no Qt among the tool's
# dependencies, a copyright file in each, the tool running from its own
# unpacked package alone, and the browser edition's site (built in SITE by
# scripts/build-web) in the program's package only. Without a built site the
# rest is checked and the output says the site was not.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${CPACK}" -G DEB -B "${OUT}" WORKING_DIRECTORY "${BUILD}"
                RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _out)
if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${_out}")
endif()
file(GLOB _program "${OUT}/quorvex_*.deb")
file(GLOB _tool "${OUT}/quorvex-tool_*.deb")
list(LENGTH _program _np)
list(LENGTH _tool _nt)
if(NOT _np EQUAL 1 OR NOT _nt EQUAL 1)
    message(FATAL_ERROR "expected one quorvex and one quorvex-tool package, found: ${_program} ${_tool}")
endif()

function(package_files deb out)
    execute_process(COMMAND dpkg-deb --fsys-tarfile "${deb}" COMMAND tar -t
                    OUTPUT_VARIABLE _list RESULT_VARIABLE _rc)
    if(NOT _rc EQUAL 0)
        message(FATAL_ERROR "cannot list ${deb}")
    endif()
    string(REGEX REPLACE "\n$" "" _list "${_list}")
    string(REPLACE "\n" ";" _list "${_list}")
    list(FILTER _list EXCLUDE REGEX "/$") # folders may be shared
    set(${out} "${_list}" PARENT_SCOPE)
endfunction()
package_files("${_program}" _pfiles)
package_files("${_tool}" _tfiles)
foreach(f IN LISTS _tfiles)
    if(f IN_LIST _pfiles)
        message(FATAL_ERROR "both packages install ${f}")
    endif()
endforeach()
foreach(want IN ITEMS "./usr/share/doc/quorvex/copyright" "./usr/lib/quorvex/quorvex"
                      "./usr/share/applications/org.orva.quorvex.desktop")
    if(NOT want IN_LIST _pfiles)
        message(FATAL_ERROR "quorvex lacks ${want}")
    endif()
endforeach()
# The site, served as it is from /usr/share/quorvex/web by a lab's web server.
set(_web "./usr/share/quorvex/web")
set(_site_built FALSE)
if(SITE AND EXISTS "${SITE}/index.html")
    set(_site_built TRUE)
    foreach(f IN ITEMS index.html app.js quorvex-core.mjs quorvex-core.wasm sw.js style.css
                       data/HotDates.htl atlas/index.json)
        if(NOT "${_web}/${f}" IN_LIST _pfiles)
            message(FATAL_ERROR "quorvex lacks ${_web}/${f}")
        endif()
    endforeach()
endif()
foreach(f IN LISTS _tfiles)
    if(f MATCHES "^\\./usr/share/quorvex/")
        message(FATAL_ERROR "quorvex-tool installs the program's ${f}")
    endif()
endforeach()
foreach(want IN ITEMS "./usr/share/doc/quorvex-tool/copyright" "./usr/lib/quorvex-tool/quorvex-tool"
                      "./usr/share/man/man1/quorvex-tool.1.gz")
    if(NOT want IN_LIST _tfiles)
        message(FATAL_ERROR "quorvex-tool lacks ${want}")
    endif()
endforeach()

execute_process(COMMAND dpkg-deb -f "${_tool}" Depends OUTPUT_VARIABLE _depends)
string(TOLOWER "${_depends}" _depends)
if(_depends MATCHES "qt" OR _depends MATCHES "quorvex")
    message(FATAL_ERROR "quorvex-tool depends on: ${_depends}")
endif()

# The tool, unpacked alone, finds its tables beside itself.
execute_process(COMMAND dpkg-deb -x "${_tool}" "${OUT}/root")
execute_process(COMMAND "${OUT}/root/usr/lib/quorvex-tool/quorvex-tool" moons --jd 2451545
                RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
if(NOT _rc EQUAL 0 OR NOT _out MATCHES "2451545.00000,Io,1.2815,")
    message(FATAL_ERROR "the unpacked tool fails (${_rc}): ${_out}${_err}")
endif()
file(REMOVE_RECURSE "${OUT}")
if(NOT _site_built)
    message("package_split: the browser edition is not built (no ${SITE}/index.html): "
            "run scripts/build-web ${BUILD} to check its files in the quorvex package")
endif()
