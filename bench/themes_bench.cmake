# Keeping a theme: an undo, an apply and an import of 20 values, each beside
# one durable replace of the registry file (a single colour written).
add_executable(themes_bench ${CMAKE_CURRENT_LIST_DIR}/themes_bench.cpp)
target_link_libraries(themes_bench PRIVATE tintor_studio benchmark::benchmark)
