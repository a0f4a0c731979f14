# Drawing the client's pictures: how long a full set of card faces takes to draw.
if(QUARN_GUI AND TARGET quarn_client_ui)
  quarn_add_bench(bench_artwork ${CMAKE_CURRENT_SOURCE_DIR}/artwork_bench.cpp quarn_client_ui)
endif()
