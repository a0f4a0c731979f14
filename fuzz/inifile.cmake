# fuzz_inifile: libFuzzer over the settings file reader and writer.
quarn_add_fuzz(fuzz_inifile corpus_ini 512 15
               ${CMAKE_CURRENT_SOURCE_DIR}/inifile_fuzz.cpp
               ${PROJECT_SOURCE_DIR}/client/model/inifile.cpp)
target_link_libraries(fuzz_inifile PRIVATE quarn_client_model)
