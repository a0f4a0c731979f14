# fuzz_protocol: libFuzzer over the stream assembler and every decoder. The
# protocol sources are compiled in so that the fuzzer sees their coverage.
file(GLOB fuzz_protocol_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/protocol/*.cpp)
quarn_add_fuzz(fuzz_protocol corpus 1024 20
               ${CMAKE_CURRENT_SOURCE_DIR}/protocol_fuzz.cpp
               ${fuzz_protocol_sources} ${PROJECT_SOURCE_DIR}/core/gbk.cpp)
target_link_libraries(fuzz_protocol PRIVATE quarn_protocol)
