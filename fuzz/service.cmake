# fuzz_service: libFuzzer over the whole game service with a fake host (see
# service_fuzz.cpp) from the tests' support. The server and protocol sources are
# compiled in for their coverage; the computer player makes its fast policy's
# move at once.
file(GLOB fuzz_service_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/server/*.cpp
     ${PROJECT_SOURCE_DIR}/protocol/*.cpp)
set(fuzz_service_own
    ${CMAKE_CURRENT_SOURCE_DIR}/service_fuzz.cpp ${CMAKE_CURRENT_SOURCE_DIR}/service_input.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/service_reach.cpp ${CMAKE_CURRENT_SOURCE_DIR}/service_world.cpp)
quarn_add_fuzz(fuzz_service corpus_service 4096 25 ${fuzz_service_own} ${fuzz_service_sources})
target_link_libraries(fuzz_service PRIVATE quarn_test_support_server PkgConfig::SODIUM)
target_compile_definitions(fuzz_service PRIVATE QUARN_COMPUTER_THINK_MS=0 QUARN_COMPUTER_FAST=1)
# The fuzzer's own world and checks take no coverage: their branches would
# only add noise to the corpus and cost a third of the time of every input.
set_source_files_properties(${fuzz_service_own} PROPERTIES COMPILE_OPTIONS -fno-sanitize=fuzzer)

# The kept seeds together send every message the server takes, run under
# every value of every setting and reach every phase of a table.
add_test(NAME fuzz_service_reach
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check_reach.sh $<TARGET_FILE:fuzz_service>
                 ${CMAKE_CURRENT_SOURCE_DIR}/corpus_service)
set_tests_properties(fuzz_service_reach PROPERTIES TIMEOUT 120)
