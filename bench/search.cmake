# The strong player's decision time at the default budget and at a hint's
# short one, and the playouts per second behind it.
quarn_add_bench(bench_search ${CMAKE_CURRENT_SOURCE_DIR}/search_bench.cpp quarn_ai)
