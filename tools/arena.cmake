# quarn-arena: whole games between computer players in one process, with rates
# and intervals for each player.
find_package(Threads REQUIRED)
add_executable(quarn-arena ${CMAKE_CURRENT_SOURCE_DIR}/arena.cpp)
target_link_libraries(quarn-arena PRIVATE quarn_ai Threads::Threads quarn_warnings)
set_target_properties(quarn-arena PROPERTIES AUTOMOC OFF)
# Two threads share the games, so ThreadSanitizer (build-tsan) watches them.
add_test(NAME quarn_arena_short_match
         COMMAND quarn-arena --seats strong,basic,greedy,basic --games 8 --samples 2 --threads 2)
set_tests_properties(quarn_arena_short_match PROPERTIES LABELS threads TIMEOUT 120
  PASS_REGULAR_EXPRESSION "8 games .*\n.*strong .*\n.*refused moves: 0")
