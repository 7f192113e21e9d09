tovrik_add_bench(NAME bench_game SOURCES ${CMAKE_SOURCE_DIR}/bench/GameBench.cpp LIBS game sheets)
