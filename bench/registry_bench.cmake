# The registry write end to end, against the bare cost of a durable file replace.
# With the peak memory of reading the largest files, made by the tests' generator.
add_executable(registry_bench ${CMAKE_CURRENT_LIST_DIR}/registry_bench.cpp
               ${PROJECT_SOURCE_DIR}/tests/platform/win/hostile_registry.cpp)
target_link_libraries(registry_bench PRIVATE tintor_model benchmark::benchmark)
