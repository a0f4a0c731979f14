# fuzz_protocol: libFuzzer over the stream assembler and every decoder. The
# protocol sources are compiled in so that the fuzzer sees their coverage.
file(GLOB fuzz_protocol_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/protocol/*.cpp)
add_executable(fuzz_protocol ${CMAKE_CURRENT_SOURCE_DIR}/protocol_fuzz.cpp
               ${fuzz_protocol_sources} ${PROJECT_SOURCE_DIR}/core/gbk.cpp)
target_include_directories(fuzz_protocol PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(fuzz_protocol PRIVATE -fsanitize=fuzzer)
target_link_options(fuzz_protocol PRIVATE -fsanitize=fuzzer)
target_link_libraries(fuzz_protocol PRIVATE quarn_warnings)
set_target_properties(fuzz_protocol PROPERTIES AUTOMOC OFF)

# A bounded run over the committed seeds; new inputs go to the build tree.
set(fuzz_protocol_scratch ${CMAKE_CURRENT_BINARY_DIR}/protocol-corpus)
file(MAKE_DIRECTORY ${fuzz_protocol_scratch})
add_test(NAME fuzz_protocol_bounded
         COMMAND fuzz_protocol -runs=200000 -max_total_time=20 -max_len=1024
                 ${fuzz_protocol_scratch} ${CMAKE_CURRENT_SOURCE_DIR}/corpus)
set_tests_properties(fuzz_protocol_bounded PROPERTIES TIMEOUT 90)
