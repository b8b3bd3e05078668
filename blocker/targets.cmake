# The blocker template "quellanix.ext", shipped beside the program. Stripped, so
# the file ends in section padding that the builder may overwrite.
if(QX_WINDOWS)
  add_executable(quellanix-blocker WIN32 ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
  target_link_libraries(quellanix-blocker PRIVATE qx_format qx_cipher qx_runtime_win32)
  set_target_properties(quellanix-blocker PROPERTIES
    OUTPUT_NAME quellanix SUFFIX ".ext" RUNTIME_OUTPUT_DIRECTORY ${QX_DIST_DIR})
  qx_warnings(quellanix-blocker)
  if(MINGW)
    target_link_options(quellanix-blocker PRIVATE -municode -s)
  endif()
endif()
