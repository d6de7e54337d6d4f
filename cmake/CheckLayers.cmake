# Checks the include lines of src/ against the layer rules; run as a test:
#
#   cmake -DSOURCE_DIR=<path of src> -P cmake/CheckLayers.cmake
#
# Prints one line per include that breaks a rule (file, include, rule) and a
# count, and fails when there is any.
#
# The rules:
#   Between the folders of src/, a layer includes only itself and the
#   layers below it: base <- jet <- engine <- data <- upgrade <- kinds <-
#   merge <- module (the order the link lines of src/CMakeLists.txt give).
#   host/ is an interface layer that every layer above the engine may
#   include; base/, jet/ and engine/ never do, and host/ includes none of the
#   others but base/.
#   Inside the engine: the files directly in engine/ are its base and include
#   none of its folders; sql/ and functions/ stand on the base alone (the
#   translator sees the schema through sql/translate/schema_resolver.hpp);
#   catalog/ does not include dataset/.
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR OR NOT IS_DIRECTORY "${SOURCE_DIR}")
  message(FATAL_ERROR "CheckLayers: SOURCE_DIR '${SOURCE_DIR}' is not a folder")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

set(_order base jet engine data upgrade kinds merge module)

# Folders of engine/ each engine part may not include ("base" is engine/ itself).
set(_engine_forbidden_base sql functions catalog store dataset)
set(_engine_forbidden_sql functions catalog store dataset)
set(_engine_forbidden_functions sql catalog store dataset)
set(_engine_forbidden_catalog dataset)

# The unit a path under src/ belongs to: a top-level folder, or for the
# engine "engine/<folder>" ("engine/base" for files directly in engine/).
# Empty when the path is not in a known layer.
function(_unit_of path out)
  set(${out} "" PARENT_SCOPE)
  string(REGEX MATCH "^([a-z_]+)/(.*)$" _match "${path}")
  if(NOT _match)
    return()
  endif()
  set(layer "${CMAKE_MATCH_1}")
  set(rest "${CMAKE_MATCH_2}")
  if(NOT layer IN_LIST _order AND NOT layer STREQUAL "host")
    return()
  endif()
  if(layer STREQUAL "engine")
    if(rest MATCHES "^([a-z_]+)/")
      set(${out} "engine/${CMAKE_MATCH_1}" PARENT_SCOPE)
    else()
      set(${out} "engine/base" PARENT_SCOPE)
    endif()
    return()
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# Why `from` may not include `to`; empty when it may.
function(_rule_broken from to out)
  set(${out} "" PARENT_SCOPE)
  string(REGEX REPLACE "/.*" "" from_layer "${from}")
  string(REGEX REPLACE "/.*" "" to_layer "${to}")
  if(to_layer STREQUAL "host")
    if(from_layer MATCHES "^(base|jet|engine)$")
      set(${out} "${from_layer}/ never calls the host" PARENT_SCOPE)
    endif()
    return()
  endif()
  if(from_layer STREQUAL "host")
    if(NOT to_layer STREQUAL "base")
      set(${out} "host/ includes no other layer but base/" PARENT_SCOPE)
    endif()
    return()
  endif()
  list(FIND _order "${from_layer}" from_rank)
  list(FIND _order "${to_layer}" to_rank)
  if(to_rank GREATER from_rank)
    set(${out} "${from_layer}/ is below ${to_layer}/" PARENT_SCOPE)
    return()
  endif()
  if(from_layer STREQUAL "engine" AND to_layer STREQUAL "engine")
    string(REGEX REPLACE "^engine/" "" from_part "${from}")
    string(REGEX REPLACE "^engine/" "" to_part "${to}")
    if(to_part IN_LIST _engine_forbidden_${from_part})
      if(from_part STREQUAL "base")
        set(${out} "the engine's base (files directly in engine/) includes none of its folders"
            PARENT_SCOPE)
      else()
        set(${out} "engine/${from_part}/ may not include engine/${to_part}/" PARENT_SCOPE)
      endif()
    endif()
  endif()
endfunction()

file(GLOB_RECURSE _files RELATIVE "${SOURCE_DIR}"
     "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.hpp" "${SOURCE_DIR}/*.c" "${SOURCE_DIR}/*.h")
list(SORT _files)
set(_broken 0)
set(_checked 0)
foreach(file IN LISTS _files)
  _unit_of("${file}" from)
  if(NOT from)
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${file}" _lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS _lines)
    if(NOT line MATCHES "include[ \t]*[\"<]([^\">]+)[\">]")
      continue()
    endif()
    set(included "${CMAKE_MATCH_1}")
    _unit_of("${included}" to)
    if(NOT to)
      continue()
    endif()
    math(EXPR _checked "${_checked} + 1")
    _rule_broken("${from}" "${to}" why)
    if(why)
      message("${file}: includes ${included}: ${why}")
      math(EXPR _broken "${_broken} + 1")
    endif()
  endforeach()
endforeach()

if(_broken GREATER 0)
  message(FATAL_ERROR "layer rules: ${_broken} of ${_checked} includes break the rules")
endif()
message("layer rules: all ${_checked} includes between layers keep the rules")
