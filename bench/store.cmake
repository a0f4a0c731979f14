quarn_add_bench(bench_store ${CMAKE_CURRENT_SOURCE_DIR}/store_bench.cpp quarn_store_sqlite
                quarn_store_postgres quarn_test_support_store)
target_compile_definitions(bench_store PRIVATE
                           QUARN_SCRATCH_POSTGRES="${PROJECT_SOURCE_DIR}/tools/scratch_postgres.sh")
