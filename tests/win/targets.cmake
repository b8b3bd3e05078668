# In-process checks of the Win32 windows: what Wine cannot read across
# processes (fonts, menus, icons), DPI changes, and the version resource of the
# built exe.
file(GLOB QX_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_win.cpp)
add_executable(main_window_win_tests ${QX_WIN_TESTS} ${CMAKE_SOURCE_DIR}/assets/quellanix.rc
               ${CMAKE_SOURCE_DIR}/blocker/win32/version_values.cpp)
target_link_libraries(main_window_win_tests PRIVATE qx_ui qx_blocker_core gtest_main)
target_include_directories(main_window_win_tests PRIVATE ${CMAKE_SOURCE_DIR})
qx_wine_path(qx_exe_win "${QX_DIST_DIR}/Quellanix.exe")
qx_wine_path(qx_template_win "${QX_DIST_DIR}/quellanix.ext")
target_compile_definitions(main_window_win_tests PRIVATE "QX_TEST_EXE=L\"${qx_exe_win}\""
                           "QX_TEMPLATE=L\"${qx_template_win}\"")
set_target_properties(main_window_win_tests PROPERTIES
  CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-exec.sh)
add_dependencies(main_window_win_tests Quellanix quellanix-blocker)
qx_warnings(main_window_win_tests)
gtest_add_tests(TARGET main_window_win_tests SOURCES ${QX_WIN_TESTS} TEST_LIST added)
set_tests_properties(${added} PROPERTIES RESOURCE_LOCK wine_desktop TIMEOUT 60 LABELS e2e)
