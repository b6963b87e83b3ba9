# Start-up: process start to the first frame of the main window, and its memory,
# beside a bare program that starts the same libraries and draws the same texts.
pkg_check_modules(BARE_START_LIBS REQUIRED IMPORTED_TARGET sdl2 pangocairo cairo)
add_executable(bare_start ${CMAKE_CURRENT_LIST_DIR}/bare_start.cpp)
target_link_libraries(bare_start PRIVATE PkgConfig::BARE_START_LIBS)
target_compile_definitions(bare_start PRIVATE
  BARE_START_PICTURE="${PROJECT_SOURCE_DIR}/res/banner_170.png")

add_executable(startup_bench ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)
target_link_libraries(startup_bench PRIVATE tintor_app tintor_resources benchmark::benchmark)
target_compile_definitions(startup_bench PRIVATE TINTOR_BINARY="$<TARGET_FILE:tintor>"
                           BARE_START_BINARY="$<TARGET_FILE:bare_start>")
add_dependencies(startup_bench tintor bare_start)
