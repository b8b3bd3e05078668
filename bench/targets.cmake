# Native bench: compile from a large template against cp. Meant for a build
# with -DQX_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release (scripts/bench.sh).
if(NOT QX_WINDOWS)
  add_executable(compile_bench EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/compile_bench.cpp)
  target_link_libraries(compile_bench PRIVATE qx_format qx_runtime_posix)
  qx_warnings(compile_bench)
endif()
