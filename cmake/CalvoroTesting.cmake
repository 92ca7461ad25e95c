# Helpers for the test folders.
#
#   calvoro_add_gtest(<name> SOURCES <files...> LIBS <targets...>)
#     A GoogleTest program for a GUI-free core; every TEST becomes a ctest case.
#   calvoro_add_qtest(<name> SOURCES <files...> LIBS <targets...> [OPENGL])
#     A Qt Test program for widgets. Without OPENGL it runs on the offscreen
#     platform; with OPENGL it runs under xvfb-run, which gives a real GL context.
#
# The GoogleTest programs of engine/ and kernel/ are built together by the
# target calvoro_core_tests and listed in tests/core-tests.txt, so an optimised
# tree can build and run just them.
set(CALVORO_CORE_TEST_LIST ${CMAKE_BINARY_DIR}/tests/core-tests.txt)
file(WRITE ${CALVORO_CORE_TEST_LIST} "")
include(GoogleTest)
find_package(GTest REQUIRED)

function(calvoro_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main calvoro_options)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(name MATCHES "^(engine|kernel)_")
    if(NOT TARGET calvoro_core_tests)
      add_custom_target(calvoro_core_tests)
      add_dependencies(calvoro_core_tests calvoro_data)
    endif()
    add_dependencies(calvoro_core_tests ${name})
    file(APPEND ${CALVORO_CORE_TEST_LIST} "${name}\n")
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    DISCOVERY_MODE PRE_TEST
    # The discovered tests get their properties as a flat list, so a list
    # value would fall apart: each variable goes in a property of its own.
    PROPERTIES ENVIRONMENT "CALVORO_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
               ENVIRONMENT_MODIFICATION "CALVORO_BIN_DIR=set:${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
endfunction()

find_program(XVFB_RUN xvfb-run)

function(calvoro_add_qtest name)
  cmake_parse_arguments(ARG "OPENGL" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test Qt6::Widgets calvoro_options)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests AUTOMOC ON)
  # Qt and the system libraries behind a display leak at exit; leak checking
  # stays on for the GUI-free cores.
  set(env "ASAN_OPTIONS=detect_leaks=0" "CALVORO_SOURCE_DIR=${PROJECT_SOURCE_DIR}" "CALVORO_BIN_DIR=${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  if(ARG_OPENGL)
    if(NOT XVFB_RUN)
      message(FATAL_ERROR "xvfb-run is needed for the OpenGL tests")
    endif()
    add_test(NAME ${name} COMMAND ${XVFB_RUN} -a $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND $<TARGET_FILE:${name}>)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endfunction()

#   calvoro_add_file_fuzzer(<name> SOURCES <files...> LIBS <targets...> SEEDS <files...>)
#     Only in a clang tree configured with CALVORO_FUZZ=ON (see
#     tests/engine/picture/CMakeLists.txt): a libFuzzer target for one of the
#     files the program reads beside itself, built by the target file_fuzzers.
#     The sources under test go in SOURCES, so that they carry the fuzzer's
#     coverage instrumentation. Its ctest case (label fuzz) starts from copies
#     of the SEEDS and runs for CALVORO_FILE_FUZZ_SECONDS.
set(CALVORO_FILE_FUZZ_SECONDS 5 CACHE STRING "Seconds each file fuzzer runs under ctest")
function(calvoro_add_file_fuzzer name)
  if(NOT CALVORO_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;SEEDS" ${ARGN})
  if(NOT TARGET file_fuzzers)
    add_custom_target(file_fuzzers)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} calvoro_options)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  add_dependencies(file_fuzzers ${name})
  set(corpus ${CMAKE_BINARY_DIR}/fuzz/${name}-corpus)
  file(MAKE_DIRECTORY ${corpus})
  if(ARG_SEEDS)
    file(COPY ${ARG_SEEDS} DESTINATION ${corpus})
  endif()
  add_test(NAME ${name} COMMAND ${name} -max_total_time=${CALVORO_FILE_FUZZ_SECONDS} -rss_limit_mb=4096
           -artifact_prefix=${CMAKE_BINARY_DIR}/fuzz/${name}- ${corpus})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 600)
endfunction()
