quarn_add_bench(bench_store ${CMAKE_CURRENT_SOURCE_DIR}/store_bench.cpp quarn_store_sqlite)
target_include_directories(bench_store PRIVATE ${PROJECT_SOURCE_DIR})
