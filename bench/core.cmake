quarn_add_bench(bench_core ${CMAKE_CURRENT_SOURCE_DIR}/core_bench.cpp quarn_core)
