# Start-up: process start to the first frame of the main window, and its memory.
add_executable(startup_bench ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)
target_link_libraries(startup_bench PRIVATE tintor_app tintor_resources benchmark::benchmark)
target_compile_definitions(startup_bench PRIVATE TINTOR_BINARY="$<TARGET_FILE:tintor>")
add_dependencies(startup_bench tintor)
