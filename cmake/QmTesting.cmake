# Test, fuzzer and benchmark helpers. GoogleTest is built from the sources
# Debian's googletest package installs, with whatever toolchain this build
# uses (host, or MinGW-w64 for the tests that run under Wine).
enable_testing()

set(QM_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${QM_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# qm_add_test(NAME [DISPLAY] SOURCES file... LIBS lib... [LABELS label...])
# One GoogleTest executable, run by ctest as one test (under Wine in the
# Windows builds, through CMAKE_CROSSCOMPILING_EMULATOR). DISPLAY: the
# tests show windows and depend on which one is active, or send real mouse
# input; such executables never run at the same time as each other, since
# they share one display.
function(qm_add_test name)
  cmake_parse_arguments(T "DISPLAY" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(WIN32)
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES LABELS "unit;${T_LABELS}"
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(T_DISPLAY)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
  endif()
endfunction()

# qm_add_fuzzer(NAME SOURCES file... LIBS lib... CORPUS dir)
# A libFuzzer target (host, clang). As a test it runs for QM_FUZZ_SECONDS
# from a copy of its seed corpus and fails on any finding.
function(qm_add_fuzzer name)
  if(NOT QM_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  # For scripts/run-fuzzer.sh --all: the program and its seeds.
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzzers/${name}.txt
    CONTENT "$<TARGET_FILE:${name}>\n${F_CORPUS}\n")
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -E env
      ${PROJECT_SOURCE_DIR}/scripts/run-fuzzer.sh $<TARGET_FILE:${name}> ${F_CORPUS} ${work} ${QM_FUZZ_SECONDS})
  set_tests_properties(${name} PROPERTIES LABELS "fuzz" TIMEOUT 900)
  # The libraries under test carry coverage hooks: a fuzzer whose code
  # under test has none mutates blind.
  set(libs)
  foreach(lib ${F_LIBS})
    if(TARGET ${lib})
      get_target_property(type ${lib} TYPE)
      if(type STREQUAL "STATIC_LIBRARY")
        list(APPEND libs $<TARGET_FILE:${lib}>)
      endif()
    endif()
  endforeach()
  add_test(NAME ${name}_coverage
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-fuzz-coverage.sh ${CMAKE_NM} $<TARGET_FILE:${name}> ${libs})
  set_tests_properties(${name}_coverage PROPERTIES LABELS "fuzz")
endfunction()

# qm_add_benchmark(NAME SOURCES file... LIBS lib...)
function(qm_add_benchmark name)
  if(NOT QM_BENCH)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()
