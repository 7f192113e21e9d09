tovrik_add_bench(NAME bench_solver SOURCES ${CMAKE_SOURCE_DIR}/bench/SolverBench.cpp LIBS solver)
