# qm_add_component(NAME CORE_LIBS lib... WIN_LIBS lib...)
# One component folder as two libraries, by the file-name rule of the tree:
#   NAME_core - every *.cpp of the folder whose name does not end in _win:
#               portable, built and tested on the host too;
#   NAME_win  - every *_win.cpp, built for Windows only; it links NAME_core
#               when there is one.
# A library with no files yet is not made. New files are picked up by the
# next configure.
function(qm_add_component name)
  cmake_parse_arguments(C "" "" "CORE_LIBS;WIN_LIBS" ${ARGN})
  file(GLOB core_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(win_sources ${core_sources})
  list(FILTER core_sources EXCLUDE REGEX "_win\\.cpp$")
  list(FILTER win_sources INCLUDE REGEX "_win\\.cpp$")
  if(core_sources)
    add_library(${name}_core STATIC ${core_sources})
    target_link_libraries(${name}_core PUBLIC classlib_core ${C_CORE_LIBS})
  endif()
  if(WIN32 AND win_sources)
    add_library(${name}_win STATIC ${win_sources})
    target_link_libraries(${name}_win PUBLIC classlib_ui ${C_WIN_LIBS})
    if(TARGET ${name}_core)
      target_link_libraries(${name}_win PUBLIC ${name}_core)
    endif()
  endif()
endfunction()

# qm_add_component_tests(NAME [CORE_LIBS lib...] [WIN_LIBS lib...])
# The tests of a component folder, in tests/ under the folder's own path:
#   NAME_tests     - every *_test.cpp, against NAME_core (host and Wine);
#   NAME_win_tests - every *_test_win.cpp, against NAME_win and the
#                    painting harness, under Wine in the shared display.
# Extra libraries a test needs go in CORE_LIBS and WIN_LIBS.
function(qm_add_component_tests name)
  cmake_parse_arguments(C "" "" "CORE_LIBS;WIN_LIBS" ${ARGN})
  file(GLOB core_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB win_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test_win.cpp)
  if(core_tests AND TARGET ${name}_core)
    qm_add_test(${name}_tests SOURCES ${core_tests} LIBS ${name}_core ${C_CORE_LIBS})
  endif()
  if(WIN32 AND win_tests AND TARGET ${name}_win)
    qm_add_test(${name}_win_tests DISPLAY SOURCES ${win_tests}
      LIBS ${name}_win classlib_ui_test_support ${C_WIN_LIBS})
  endif()
endfunction()
