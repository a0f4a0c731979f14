# fuzz_client: libFuzzer over the client model (the window's and the page's),
# its hint and quarn-bot's session, fed by a server that sends anything. The
# client and protocol sources are compiled in for their coverage.
file(GLOB fuzz_client_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/client/model/*.cpp
     ${PROJECT_SOURCE_DIR}/client/assist/*.cpp ${PROJECT_SOURCE_DIR}/bot/*.cpp
     ${PROJECT_SOURCE_DIR}/protocol/*.cpp)
set(fuzz_client_own ${CMAKE_CURRENT_SOURCE_DIR}/client_fuzz.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/service_input.cpp)
quarn_add_fuzz(fuzz_client corpus_client 32768 20 ${fuzz_client_own} ${fuzz_client_sources})
target_link_libraries(fuzz_client PRIVATE quarn_bot_session quarn_server)
set_source_files_properties(${fuzz_client_own} PROPERTIES COMPILE_OPTIONS -fno-sanitize=fuzzer)
