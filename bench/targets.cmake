# Benchmarks, each printing its figures beside a baseline from the same run.
if(QX_WINDOWS)
  # Compile from a large template against a copy of it (scripts/bench.sh).
  add_executable(compile_bench ${CMAKE_CURRENT_LIST_DIR}/compile_bench.cpp)
  target_link_libraries(compile_bench PRIVATE qx_format qx_runtime_win32)
  qx_warnings(compile_bench)
  if(MINGW)
    target_link_options(compile_bench PRIVATE -municode)
  endif()
  # The blocker under Wine (scripts/bench-blocker.sh).
  add_executable(blocker_bench ${CMAKE_CURRENT_LIST_DIR}/blocker_bench.cpp)
  target_link_libraries(blocker_bench PRIVATE qx_format psapi shell32)
  qx_warnings(blocker_bench)
  # An idle windowless process; the bench starts 60 of them beside the blocker.
  add_executable(blocker_bench_idle ${CMAKE_CURRENT_LIST_DIR}/blocker_bench_idle.cpp)
  qx_warnings(blocker_bench_idle)
  add_dependencies(blocker_bench blocker_bench_idle)
  if(MINGW)
    target_link_options(blocker_bench PRIVATE -municode)
  endif()
  # The configurator's peak memory beside a plain window's (scripts/bench-memory.sh).
  add_executable(plain_window WIN32 ${CMAKE_CURRENT_LIST_DIR}/plain_window.cpp
                 ${CMAKE_SOURCE_DIR}/assets/quellanix.rc)
  target_link_libraries(plain_window PRIVATE qx_ui)
  add_executable(memory_bench ${CMAKE_CURRENT_LIST_DIR}/memory_bench.cpp)
  target_link_libraries(memory_bench PRIVATE qx_ui psapi)
  add_dependencies(memory_bench plain_window Quellanix)
  foreach(tool plain_window memory_bench)
    qx_warnings(${tool})
    if(MINGW)
      target_link_options(${tool} PRIVATE -municode)
    endif()
  endforeach()
endif()
