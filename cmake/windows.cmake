# Win32 glue, the program and its resources.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)

file(GLOB QX_WIN_SOURCES CONFIGURE_DEPENDS
  runtime/win32/*.cpp app/win32/*.cpp about/win32/*.cpp builder/win32/*.cpp)
list(REMOVE_ITEM QX_WIN_SOURCES ${CMAKE_SOURCE_DIR}/app/win32/main.cpp)
add_library(qxwin STATIC ${QX_WIN_SOURCES})
target_link_libraries(qxwin PUBLIC qxcore user32 gdi32 comctl32 shell32 advapi32 uxtheme)
qx_warnings(qxwin)

add_executable(Quellanix WIN32 app/win32/main.cpp assets/quellanix.rc)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR} -I${CMAKE_SOURCE_DIR}/assets")
target_link_libraries(Quellanix PRIVATE qxwin)
set_target_properties(Quellanix PROPERTIES OUTPUT_NAME Quellanix RUNTIME_OUTPUT_DIRECTORY ${QX_DIST_DIR})
set_source_files_properties(assets/quellanix.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/assets/quellanix.manifest;${CMAKE_SOURCE_DIR}/app/version_info.h")
target_include_directories(Quellanix PRIVATE ${CMAKE_SOURCE_DIR})
qx_warnings(Quellanix)
if(MINGW)
  target_link_options(Quellanix PRIVATE -municode)
endif()
