# A change made from outside reaching the window's pixels, beside the floor of
# a bare watch, read and paint.
add_executable(live_update_bench ${CMAKE_CURRENT_LIST_DIR}/live_update_bench.cpp)
target_link_libraries(live_update_bench PRIVATE tintor_studio tintor_host benchmark::benchmark)
