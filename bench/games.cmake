# Whole games against quarnd: games per second and the play round trip beside
# a plain loopback echo. Needs quarnd (a Qt program) built beside it.
if(QUARN_QT)
  add_library(quarn_bench_games STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/games_socket.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/placement.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/games_echo.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/games_driver.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tables_driver.cpp)
  quarn_headers(quarn_bench_games bench)
  target_link_libraries(quarn_bench_games PUBLIC quarn_bot_session PRIVATE quarn_warnings)
  quarn_add_bench(bench_games ${CMAKE_CURRENT_SOURCE_DIR}/games_bench.cpp quarn_bench_games)
  quarn_add_bench(bench_tables ${CMAKE_CURRENT_SOURCE_DIR}/tables_bench.cpp quarn_bench_games)
  quarn_add_bench(bench_watchers ${CMAKE_CURRENT_SOURCE_DIR}/watchers_bench.cpp quarn_bench_games)
  if(TARGET quarnd)
    add_dependencies(bench_games quarnd)
    add_dependencies(bench_tables quarnd)
    add_dependencies(bench_watchers quarnd)
  endif()
endif()

# The drivers' threads under test: a few games, run by CTest (and under
# ThreadSanitizer in the build-tsan folder that make test builds).
if(TARGET quarn_bench_games)
  add_executable(bench_drivers_check ${CMAKE_CURRENT_SOURCE_DIR}/drivers_check.cpp)
  target_link_libraries(bench_drivers_check PRIVATE quarn_bench_games quarn_warnings)
  set_target_properties(bench_drivers_check PROPERTIES AUTOMOC OFF)
  if(TARGET quarnd)
    add_dependencies(bench_drivers_check quarnd)
  endif()
  add_test(NAME bench_drivers_threads COMMAND bench_drivers_check)
  set_tests_properties(bench_drivers_threads PROPERTIES LABELS threads TIMEOUT 120
    PASS_REGULAR_EXPRESSION "played to the end")
endif()

# The play round trip through HAProxy (the cluster's router) against direct.
if(TARGET quarn_bench_games)
  quarn_add_bench(bench_router ${CMAKE_CURRENT_SOURCE_DIR}/router_bench.cpp quarn_bench_games)
  if(TARGET quarnd)
    add_dependencies(bench_router quarnd)
  endif()
endif()
