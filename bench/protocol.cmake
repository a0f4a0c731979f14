quarn_add_bench(bench_protocol ${CMAKE_CURRENT_SOURCE_DIR}/protocol_bench.cpp quarn_protocol)
