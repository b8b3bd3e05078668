# The Win32 layers and the program with its resources.
file(GLOB QX_RUNTIME_WIN32_SOURCES CONFIGURE_DEPENDS runtime/win32/*.cpp)
qx_layer(qx_runtime_win32 SOURCES ${QX_RUNTIME_WIN32_SOURCES} LINKS qx_runtime advapi32)

# The window base, message boxes and the input box: all the blocker's windows
# need. The configurator's windows, flows and runtime build on it.
set(QX_UI_CONFIGURATOR_ONLY ui/image_box.cpp ui/win_runtime.cpp)
file(GLOB QX_UI_BASE_SOURCES CONFIGURE_DEPENDS ui/*.cpp)
list(TRANSFORM QX_UI_CONFIGURATOR_ONLY PREPEND ${CMAKE_SOURCE_DIR}/)
list(REMOVE_ITEM QX_UI_BASE_SOURCES ${QX_UI_CONFIGURATOR_ONLY})
qx_layer(qx_ui_base SOURCES ${QX_UI_BASE_SOURCES} LINKS qx_runtime_win32 user32 gdi32)
file(GLOB QX_UI_SOURCES CONFIGURE_DEPENDS app/win32/*.cpp about/win32/*.cpp)
list(REMOVE_ITEM QX_UI_SOURCES ${CMAKE_SOURCE_DIR}/app/win32/main.cpp)
qx_layer(qx_ui SOURCES ${QX_UI_CONFIGURATOR_ONLY} ${QX_UI_SOURCES}
         LINKS qx_ui_base qx_handlers comctl32 version uxtheme)

# The manifest carries the version from the one source, common/version.h.
file(STRINGS common/version.h qx_version_line REGEX "^#define QX_VERSION_TEXT ")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" QX_VERSION_TEXT "${qx_version_line}")
file(STRINGS common/version.h qx_product_line REGEX "^#define QX_PRODUCT_NAME ")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" QX_PRODUCT_NAME "${qx_product_line}")
file(STRINGS common/version.h qx_company_line REGEX "^#define QX_COMPANY_NAME ")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" QX_COMPANY_NAME "${qx_company_line}")
set(QX_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(assets/quellanix.manifest.in ${QX_GENERATED_DIR}/quellanix.manifest @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS common/version.h)

add_executable(Quellanix WIN32 app/win32/main.cpp assets/quellanix.rc)
set(CMAKE_RC_FLAGS
    "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR} -I${CMAKE_SOURCE_DIR}/assets -I${QX_GENERATED_DIR}")
target_link_libraries(Quellanix PRIVATE qx_ui)
set_target_properties(Quellanix PROPERTIES OUTPUT_NAME Quellanix RUNTIME_OUTPUT_DIRECTORY ${QX_DIST_DIR})
set_source_files_properties(assets/quellanix.rc PROPERTIES
  OBJECT_DEPENDS "${QX_GENERATED_DIR}/quellanix.manifest;${CMAKE_SOURCE_DIR}/common/version.h")
qx_warnings(Quellanix)
if(MINGW)
  target_link_options(Quellanix PRIVATE -municode)
endif()
