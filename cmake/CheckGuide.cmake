# Keeps docs/ARCHITECTURE.md current: every source file under src/ must be
# named (by its name without extension, e.g. `ToolWindows`) in the table
# under "What lives where". Run by the ctest test `guide`:
#   cmake -DSOURCE_DIR=<repo> -P cmake/CheckGuide.cmake
file(READ "${SOURCE_DIR}/docs/ARCHITECTURE.md" guide)
string(FIND "${guide}" "## What lives where" start)
if(start EQUAL -1)
  message(FATAL_ERROR "docs/ARCHITECTURE.md has no section \"What lives where\"")
endif()
string(SUBSTRING "${guide}" ${start} -1 rest)
string(REGEX MATCHALL "\n\\|[^\n]*" rows "${rest}")
string(JOIN " " table ${rows})
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/src/*.cpp" "${SOURCE_DIR}/src/*.h")
set(missing "")
foreach(path IN LISTS sources)
  get_filename_component(stem "${path}" NAME_WE)
  if(stem STREQUAL "main")
    continue()  # every program has one; the table names the programs
  endif()
  string(REGEX MATCH "[^A-Za-z0-9_]${stem}[^A-Za-z0-9_]" found "${table}")
  if(NOT found)
    list(APPEND missing "${path}")
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n  " text)
  message(FATAL_ERROR "docs/ARCHITECTURE.md's table under \"What lives where\" names none of:\n  ${text}")
endif()
