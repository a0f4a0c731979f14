# quarn-dump: prints captured packets by name and field, and the games a
# server stored (--db).
add_executable(quarn-dump ${CMAKE_CURRENT_SOURCE_DIR}/dump.cpp
               ${CMAKE_CURRENT_SOURCE_DIR}/dump_games.cpp)
quarn_headers(quarn-dump tools)
target_link_libraries(quarn-dump PRIVATE quarn_protocol quarn_store_sqlite quarn_warnings)
set_target_properties(quarn-dump PROPERTIES AUTOMOC OFF)
add_test(NAME quarn_dump_joined_packets
         COMMAND quarn-dump ${PROJECT_SOURCE_DIR}/fuzz/corpus/three_joined)
set_tests_properties(quarn_dump_joined_packets PROPERTIES PASS_REGULAR_EXPRESSION
  "BidOffer table=1 seat=2 points=3\n.*ChatSay table=1 seat=0 text=\"hello\"\n.*PlayTurn table=1 seat=3\n3 packets, 0 bytes skipped")
