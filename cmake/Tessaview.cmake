# Shared CMake helpers: one library per source folder, one test program per test folder.

# tv_library(NAME DIR [QT] DEPS ...): a static library of every .cpp directly in DIR.
function(tv_library name dir)
  cmake_parse_arguments(ARG "QT" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  foreach(pattern IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  set(cpps ${sources})
  list(FILTER cpps INCLUDE REGEX "\\.cpp$")
  if(NOT cpps)
    # A folder with headers only (or nothing yet) still takes part in the link order.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(NOT ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  endif()
endfunction()

# tv_test(NAME LABEL DIR [SERIAL] DEPS ...): one GoogleTest program of every .cpp in DIR,
# each test case registered with CTest on its own and labelled with its area. SERIAL: its
# cases run alone (they share one X display and read the screen).
function(tv_test name label dir)
  cmake_parse_arguments(ARG "SERIAL" "TIMEOUT" "DEPS;ENV" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    TESSAVIEW_CORPUS_DIR="${PROJECT_SOURCE_DIR}/../shared/corpus"
    TESSAVIEW_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TESSAVIEW_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 60)
  endif()
  # Empty values would vanish from the property list and shift the pairs, so add only
  # the ones that are set.
  set(properties LABELS ${label} TIMEOUT ${ARG_TIMEOUT})
  if(ARG_ENV)
    list(APPEND properties ENVIRONMENT "${ARG_ENV}")
  endif()
  if(ARG_SERIAL)
    list(APPEND properties RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name} PROPERTIES ${properties} DISCOVERY_TIMEOUT 60)
endfunction()
