tovrik_add_bench(NAME bench_graphics SOURCES ${CMAKE_SOURCE_DIR}/bench/GraphicsBench.cpp LIBS graphics)
