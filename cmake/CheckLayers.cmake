# Checks that every source file includes only from its own layer and the
# layers below it, and that the rule-carrying layers include no Qt header.
# Run by ctest (test "layers"):  cmake -DSOURCE_DIR=<repo> -P CheckLayers.cmake
#
# Each rule: folder, whether it may use Qt, the folders it may include from.
# A folder's files are those directly in it (src/graph does not cover
# src/graph/geometry, src/library not src/library/core: each has a rule of
# its own), except where RECURSE is given.
set(ACV_LAYER_RULES
  "src/data        NO_QT  data"
  "src/logger      NO_QT  logger data"
  "src/analysis    NO_QT  analysis data"
  "src/graph/geometry NO_QT graph/geometry analysis data"
  "src/frame       NO_QT  frame graph/geometry analysis logger data"
  "src/library/core NO_QT library/core graph/geometry analysis data"
  "src/platform    QT     platform logger data"
  "src/library     QT     library library/core analysis data"
  "src/cli         QT     cli library library/core graph graph/geometry platform frame analysis logger data"
  "src/graph       QT     graph graph/geometry frame analysis platform logger data"
  "src/ui RECURSE  QT     ui library library/core graph graph/geometry frame analysis platform logger data"
  # The simulated logger encodes its replies itself: none of the program.
  "tools/logger-sim QT"
)

cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers.cmake needs -DSOURCE_DIR=<repository>")
endif()

set(violations "")
set(checked 0)
foreach(rule IN LISTS ACV_LAYER_RULES)
  string(REGEX REPLACE " +" ";" words "${rule}")
  list(POP_FRONT words folder)
  set(glob GLOB)
  list(GET words 0 first)
  if(first STREQUAL "RECURSE")
    set(glob GLOB_RECURSE)
    list(POP_FRONT words)
  endif()
  list(POP_FRONT words qt)
  set(allowed ${words})

  file(${glob} files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  if(NOT files)
    list(APPEND violations "${folder}: no sources found (moved folder? update cmake/CheckLayers.cmake)")
  endif()
  foreach(file IN LISTS files)
    math(EXPR checked "${checked} + 1")
    file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      if(qt STREQUAL "NO_QT" AND line MATCHES "#[ \t]*include[ \t]*<Q")
        list(APPEND violations "${name}: Qt below src/platform: ${line}")
      endif()
      # Project headers are included by their path under src/ ("layer/File.h").
      if(line MATCHES "#[ \t]*include[ \t]*\"([a-z]+)/(geometry/|core/)?[^\"]*\"")
        set(layer "${CMAKE_MATCH_1}")
        if(CMAKE_MATCH_2 STREQUAL "geometry/" AND layer STREQUAL "graph")
          set(layer "graph/geometry")
        elseif(CMAKE_MATCH_2 STREQUAL "core/" AND layer STREQUAL "library")
          set(layer "library/core")
        endif()
        if(NOT layer IN_LIST allowed)
          list(APPEND violations "${name}: ${folder} may not include from ${layer}/: ${line}")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Layer rule broken (see docs/ARCHITECTURE.md, \"Layers\"):\n  ${text}")
endif()
message(STATUS "layers: ${checked} files keep their layer")
