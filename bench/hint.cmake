# The table window's hint: its whole answer on the hardest hand for move generation.
quarn_add_bench(bench_hint ${CMAKE_CURRENT_SOURCE_DIR}/hint_bench.cpp quarn_client_assist)
