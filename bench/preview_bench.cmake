# The preview panel: drawing it whole (also as each deficiency sees it),
# re-reading the theme after a change; the theme report.
pkg_check_modules(PREVIEW_BENCH_CAIRO REQUIRED IMPORTED_TARGET cairo)
add_executable(preview_bench ${CMAKE_CURRENT_LIST_DIR}/preview_bench.cpp)
target_link_libraries(preview_bench PRIVATE tintor_studio benchmark::benchmark
                      PkgConfig::PREVIEW_BENCH_CAIRO)
target_compile_definitions(preview_bench PRIVATE TINTOR_BINARY="$<TARGET_FILE:tintor>")
add_dependencies(preview_bench tintor)
