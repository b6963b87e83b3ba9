# The platform's drawing: a full repaint, a scrolled frame, opening a 20-item menu.
add_executable(platform_bench ${CMAKE_CURRENT_LIST_DIR}/platform_bench.cpp
               ${PROJECT_SOURCE_DIR}/tests/platform/proof_screen.cpp)
target_link_libraries(platform_bench PRIVATE tintor_platform tintor_resources
                      benchmark::benchmark)
