# The blocker: what it recognises and decides, portable and unit-tested; and
# the template "quellanix.ext", shipped beside the program. The template is
# stripped, so the file ends in section padding that the builder may overwrite.
file(GLOB QX_BLOCKER_CORE_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
list(REMOVE_ITEM QX_BLOCKER_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
qx_layer(qx_blocker_core SOURCES ${QX_BLOCKER_CORE_SOURCES} LINKS qx_format qx_cipher)

if(QX_WINDOWS)
  file(GLOB QX_BLOCKER_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/win32/*.cpp)
  add_executable(quellanix-blocker WIN32 ${CMAKE_CURRENT_LIST_DIR}/main.cpp
                 ${QX_BLOCKER_WIN32_SOURCES} ${CMAKE_CURRENT_LIST_DIR}/blocker.rc)
  target_link_libraries(quellanix-blocker PRIVATE qx_blocker_core qx_ui_base shcore)
  set_target_properties(quellanix-blocker PROPERTIES
    OUTPUT_NAME quellanix SUFFIX ".ext" RUNTIME_OUTPUT_DIRECTORY ${QX_DIST_DIR})
  qx_warnings(quellanix-blocker)
  if(MINGW)
    target_link_options(quellanix-blocker PRIVATE -municode -s)
  endif()
  # Nothing it imports may be loaded from beside it.
  add_test(NAME BlockerImportsOnlySystemDlls
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh ${CMAKE_OBJDUMP}
                   $<TARGET_FILE:quellanix-blocker>)
endif()
