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
  if(TARGET quarnd)
    add_dependencies(bench_games quarnd)
    add_dependencies(bench_tables quarnd)
  endif()
endif()
