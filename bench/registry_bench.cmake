# The registry write end to end, against the bare cost of a durable file replace.
add_executable(registry_bench ${CMAKE_CURRENT_LIST_DIR}/registry_bench.cpp)
target_link_libraries(registry_bench PRIVATE tintor_model benchmark::benchmark)
