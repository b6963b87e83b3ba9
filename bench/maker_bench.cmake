# Making a theme: from a colour (swatches only, any colour), and from a
# 12-megapixel photo (JPEG and PNG) read, scaled down and quantised.
find_package(JPEG REQUIRED)
pkg_check_modules(MAKER_BENCH_CAIRO REQUIRED IMPORTED_TARGET cairo)
add_executable(maker_bench ${CMAKE_CURRENT_LIST_DIR}/maker_bench.cpp)
target_link_libraries(maker_bench PRIVATE tintor_model tintor_shell JPEG::JPEG PkgConfig::MAKER_BENCH_CAIRO
                      benchmark::benchmark)
