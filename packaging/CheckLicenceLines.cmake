# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file of the project lacks its licence line.
file(GLOB_RECURSE _sources RELATIVE "${ROOT}" "${ROOT}/src/*.h" "${ROOT}/src/*.cpp"
     "${ROOT}/tools/*.h" "${ROOT}/tools/*.cpp" "${ROOT}/tests/*.h" "${ROOT}/tests/*.cpp"
     "${ROOT}/web/src/*.ts" "${ROOT}/web/tests/*.ts" "${ROOT}/web/bindings/*.cpp"
     "${ROOT}/web/static/*.html" "${ROOT}/web/static/*.css")
# The browser edition's own scripts, not the packages installed beside them.
file(GLOB _web_scripts RELATIVE "${ROOT}" "${ROOT}/web/*.mjs" "${ROOT}/web/*.ts")
list(APPEND _sources ${_web_scripts})
set(_missing)
foreach(f IN LISTS _sources)
    file(STRINGS "${ROOT}/${f}" _lines LIMIT_COUNT 3)
    string(FIND "${_lines}" "SPDX-License-Identifier: GPL-3.0-or-later" _at)
    if(_at EQUAL -1)
        list(APPEND _missing "${f}")
    endif()
endforeach()
if(_missing)
    message(FATAL_ERROR "Source files without the licence line: ${_missing}")
endif()
