tovrik_add_bench(NAME bench_shell SOURCES ${CMAKE_SOURCE_DIR}/bench/ShellBench.cpp LIBS shell sheets)
target_compile_definitions(bench_shell PRIVATE TOVRIK_RUNTIME_DIR="${TOVRIK_RUNTIME_DIR}")
add_dependencies(bench_shell runtime_data)
