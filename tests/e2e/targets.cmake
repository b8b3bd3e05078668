# End-to-end tests: Windows programs that drive the real Quellanix.exe under
# Wine. Each tests/e2e/*_e2e.cpp becomes one test program; every test in it is
# one CTest test, run through scripts/wine-exec.sh.
include(GoogleTest)

# GoogleTest from Debian's source package, built with the cross compiler.
if(NOT TARGET gtest)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(QX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
  add_subdirectory(${QX_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# Where the test programs find the program and leave screenshots, as Windows
# paths (Wine maps the Unix root to Z:).
function(qx_wine_path out unix_path)
  string(REPLACE "/" "\\\\" escaped "Z:${unix_path}")
  set(${out} "${escaped}" PARENT_SCOPE)
endfunction()
set(QX_E2E_SCREENSHOT_DIR "${CMAKE_BINARY_DIR}/screenshots")
qx_wine_path(qx_dist_win "${QX_DIST_DIR}")
qx_wine_path(qx_shots_win "${QX_E2E_SCREENSHOT_DIR}")
file(MAKE_DIRECTORY ${QX_E2E_SCREENSHOT_DIR})

file(GLOB QX_E2E_SUPPORT CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/driver/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
list(FILTER QX_E2E_SUPPORT EXCLUDE REGEX "_e2e\\.cpp$")
# The blocker's file identity, for the tests that compute its instance name.
add_library(qx_e2e_driver STATIC ${QX_E2E_SUPPORT} ${CMAKE_SOURCE_DIR}/blocker/win32/file_hold.cpp)
target_compile_definitions(qx_e2e_driver PUBLIC
  "QX_E2E_DIST_DIR=L\"${qx_dist_win}\"" "QX_E2E_SCREENSHOT_DIR=L\"${qx_shots_win}\"")
target_include_directories(qx_e2e_driver PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(qx_e2e_driver PUBLIC qx_ui qx_blocker_core gtest gdiplus ole32)
qx_warnings(qx_e2e_driver)

# A stand-in the About tests register as the system information tool.
set(QX_MARKER_DIR ${CMAKE_BINARY_DIR}/e2e-tools)
add_executable(qx_marker WIN32 ${CMAKE_CURRENT_LIST_DIR}/tools/marker.cpp)
set_target_properties(qx_marker PROPERTIES OUTPUT_NAME marker RUNTIME_OUTPUT_DIRECTORY ${QX_MARKER_DIR})
qx_warnings(qx_marker)
qx_wine_path(qx_marker_win "${QX_MARKER_DIR}/marker.exe")

# Stand-ins for a blocked game: a windowed and a console program whose version
# resource names Solitaire's executable.
add_executable(qx_stand_in WIN32 ${CMAKE_CURRENT_LIST_DIR}/tools/stand_in.cpp
               ${CMAKE_CURRENT_LIST_DIR}/tools/stand_in.rc)
add_executable(qx_stand_in_console ${CMAKE_CURRENT_LIST_DIR}/tools/stand_in.cpp
               ${CMAKE_CURRENT_LIST_DIR}/tools/stand_in.rc)
target_compile_definitions(qx_stand_in_console PRIVATE QX_CONSOLE)
# A program a parent adds by its file: its version resource names it.
add_executable(qx_pixel_quest WIN32 ${CMAKE_CURRENT_LIST_DIR}/tools/stand_in.cpp
               ${CMAKE_CURRENT_LIST_DIR}/tools/pixel_quest.rc)
set_target_properties(qx_pixel_quest PROPERTIES OUTPUT_NAME PixelQuest)
foreach(tool qx_stand_in qx_stand_in_console qx_pixel_quest)
  set_target_properties(${tool} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QX_MARKER_DIR})
  qx_warnings(${tool})
endforeach()
if(MINGW)
  target_link_options(qx_stand_in PRIVATE -municode)
  target_link_options(qx_pixel_quest PRIVATE -municode)
endif()
qx_wine_path(qx_tools_win "${QX_MARKER_DIR}")

add_custom_target(e2e_tests)
file(GLOB QX_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_e2e.cpp)
foreach(source ${QX_E2E_TESTS})
  get_filename_component(stem ${source} NAME_WE)
  set(target ${stem}_tests)  # main_window_e2e.cpp -> main_window_e2e_tests.exe
  add_executable(${target} ${source})
  target_link_libraries(${target} PRIVATE qx_e2e_driver gtest_main)
  set_target_properties(${target} PROPERTIES
    CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-exec.sh)
  qx_warnings(${target})
  # The program under test must be current when the tests run.
  add_dependencies(${target} Quellanix quellanix-blocker qx_marker qx_stand_in qx_stand_in_console
                   qx_pixel_quest)
  target_compile_definitions(${target} PRIVATE "QX_MARKER_EXE=L\"${qx_marker_win}\""
                             "QX_E2E_TOOLS_DIR=L\"${qx_tools_win}\"")
  add_dependencies(e2e_tests ${target})
  gtest_add_tests(TARGET ${target} SOURCES ${source} TEST_LIST added)
  # One display, one mouse: the tests take turns. A GTEST_SKIP shows as skipped.
  set_tests_properties(${added} PROPERTIES RESOURCE_LOCK wine_desktop TIMEOUT 120 LABELS e2e
                       SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endforeach()

# The full-disk compile runs the program from a small tmpfs, which only root
# can mount; the script reports a skip elsewhere.
add_test(NAME CompileOnAFullDisk
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/e2e-full-disk.sh ${CMAKE_BINARY_DIR})
set_tests_properties(CompileOnAFullDisk PROPERTIES
  RESOURCE_LOCK wine_desktop TIMEOUT 120 LABELS e2e SKIP_RETURN_CODE 77)
