# The About dialog's test helper: a tiny program that the end-to-end tests
# register as the system information tool, to see whether and how it starts.
if(QX_WINDOWS)
  set(QX_MARKER_DIR ${CMAKE_BINARY_DIR}/e2e-tools)
  add_executable(qx_marker WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/tools/marker.cpp)
  target_link_libraries(qx_marker PRIVATE shell32)
  set_target_properties(qx_marker PROPERTIES OUTPUT_NAME marker
                        RUNTIME_OUTPUT_DIRECTORY ${QX_MARKER_DIR})
  qx_warnings(qx_marker)

  # The e2e test programs are defined later, under tests/: wire the About test
  # to the helper once they exist. Wine sees the Unix root as Z:.
  function(qx_about_e2e_wiring)
    if(TARGET about_e2e_tests)
      string(REPLACE "/" "\\\\" marker_win "Z:${QX_MARKER_DIR}/marker.exe")
      target_compile_definitions(about_e2e_tests PRIVATE "QX_MARKER_EXE=L\"${marker_win}\"")
      add_dependencies(about_e2e_tests qx_marker)
    endif()
  endfunction()
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL qx_about_e2e_wiring)
endif()
