# Each layer of src/ is a static library whose sources are found by glob, so
# that adding a file to a layer needs no CMake edit. Layers link only to the
# layers below them; the link line is the dependency rule made explicit.
#
#   orvdb_layer(NAME host DIR host [RECURSE] [DEPS ...] [LIBS ...])
function(orvdb_layer)
  cmake_parse_arguments(L "RECURSE" "NAME;DIR" "DEPS;LIBS" ${ARGN})
  set(dir "${PROJECT_SOURCE_DIR}/src/${L_DIR}")
  if(L_RECURSE)
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS "${dir}/*.cpp")
  else()
    file(GLOB srcs CONFIGURE_DEPENDS "${dir}/*.cpp")
  endif()
  if(NOT srcs)
    add_library(orvdb_${L_NAME} INTERFACE)
    target_include_directories(orvdb_${L_NAME} INTERFACE
      "${PROJECT_SOURCE_DIR}/include" "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(orvdb_${L_NAME} INTERFACE ${L_DEPS} ${L_LIBS})
    return()
  endif()
  # Compiled once as objects: the static library serves tests and the CLI,
  # the same objects go into liborvdb.so.
  add_library(orvdb_${L_NAME}_obj OBJECT ${srcs})
  target_include_directories(orvdb_${L_NAME}_obj PUBLIC
    "${PROJECT_SOURCE_DIR}/include" "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(orvdb_${L_NAME}_obj PUBLIC ${L_DEPS} ${L_LIBS})
  target_compile_definitions(orvdb_${L_NAME}_obj PRIVATE
    ORVDB_VERSION="${PROJECT_VERSION}")
  orvdb_warnings(orvdb_${L_NAME}_obj)
  add_library(orvdb_${L_NAME} STATIC $<TARGET_OBJECTS:orvdb_${L_NAME}_obj>)
  target_include_directories(orvdb_${L_NAME} PUBLIC
    "${PROJECT_SOURCE_DIR}/include" "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(orvdb_${L_NAME} PUBLIC ${L_DEPS} ${L_LIBS})
  set_property(GLOBAL APPEND PROPERTY ORVDB_LAYER_OBJECTS
    "$<TARGET_OBJECTS:orvdb_${L_NAME}_obj>")
  set_property(GLOBAL APPEND PROPERTY ORVDB_LAYER_LIBS ${L_LIBS})
endfunction()

# One GoogleTest executable per layer: tests/<name>/*.cpp, labelled <name>.
function(orvdb_test_suite)
  cmake_parse_arguments(T "" "NAME" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS
    "${PROJECT_SOURCE_DIR}/tests/${T_NAME}/*.cpp")
  if(NOT srcs)
    return()
  endif()
  add_executable(test_${T_NAME} ${srcs})
  target_link_libraries(test_${T_NAME} PRIVATE ${T_DEPS} GTest::gtest
                        GTest::gtest_main GTest::gmock)
  target_include_directories(test_${T_NAME} PRIVATE
    "${PROJECT_SOURCE_DIR}/tests")
  target_compile_definitions(test_${T_NAME} PRIVATE
    ORVDB_FIXTURES_DIR="${ORVDB_FIXTURES_DIR}"
    ORVDB_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  orvdb_warnings(test_${T_NAME})
  # A test that skips (no fixtures, no server, no display) is listed as
  # skipped by ctest, not counted as passed.
  gtest_discover_tests(test_${T_NAME} DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${T_NAME} TIMEOUT 300
               SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endfunction()
