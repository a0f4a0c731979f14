# fuzz_inifile: libFuzzer over the settings file reader and writer.
add_executable(fuzz_inifile ${CMAKE_CURRENT_SOURCE_DIR}/inifile_fuzz.cpp
               ${PROJECT_SOURCE_DIR}/client/model/inifile.cpp)
target_include_directories(fuzz_inifile PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(fuzz_inifile PRIVATE -fsanitize=fuzzer)
target_link_options(fuzz_inifile PRIVATE -fsanitize=fuzzer)
target_link_libraries(fuzz_inifile PRIVATE quarn_warnings)
set_target_properties(fuzz_inifile PROPERTIES AUTOMOC OFF)

set(fuzz_inifile_scratch ${CMAKE_CURRENT_BINARY_DIR}/inifile-corpus)
file(MAKE_DIRECTORY ${fuzz_inifile_scratch})
add_test(NAME fuzz_inifile_bounded
         COMMAND fuzz_inifile -runs=200000 -max_total_time=15 -max_len=512
                 ${fuzz_inifile_scratch} ${CMAKE_CURRENT_SOURCE_DIR}/corpus_ini)
set_tests_properties(fuzz_inifile_bounded PROPERTIES TIMEOUT 90)
