tovrik_add_bench(NAME bench_board SOURCES ${CMAKE_SOURCE_DIR}/bench/BoardBench.cpp LIBS board)
