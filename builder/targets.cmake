# The inspect tool, natively and for Windows; natively also the POSIX file
# operations that the tests, the tool and the bench use.
if(NOT QX_WINDOWS)
  target_sources(qxcore PRIVATE ${CMAKE_SOURCE_DIR}/runtime/posix/files.cpp)
endif()

add_executable(quellanix-inspect ${CMAKE_CURRENT_LIST_DIR}/settings_tool/main.cpp)
target_link_libraries(quellanix-inspect PRIVATE qxcore)
target_include_directories(quellanix-inspect PRIVATE ${CMAKE_SOURCE_DIR})
qx_warnings(quellanix-inspect)
if(QX_WINDOWS)
  if(MINGW)
    target_link_options(quellanix-inspect PRIVATE -municode)
  endif()
  set_target_properties(quellanix-inspect PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QX_DIST_DIR})
endif()
