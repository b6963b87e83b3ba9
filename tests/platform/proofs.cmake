# The platform's proofs: the input storm, the leak run over 1,000 menus, and
# the real window under Xvfb driven by xdotool.
set(proof_dir ${CMAKE_CURRENT_LIST_DIR})

add_executable(platform_storm_test ${proof_dir}/storm_test.cpp ${proof_dir}/proof_screen.cpp
               ${proof_dir}/proof_leak_suppressions.cpp)
target_link_libraries(platform_storm_test PRIVATE tintor_platform tintor_resources
                      GTest::gtest_main)
gtest_discover_tests(platform_storm_test DISCOVERY_TIMEOUT 60
                     PROPERTIES TIMEOUT 1200 LABELS "storm"
                     ENVIRONMENT "TINTOR_REGISTRY=/nonexistent/tintor-tests.reg")

# LeakSanitizer watches the first two tests in the ASan build; the third
# counts the allocator's bytes in use, which only the normal build can.
add_executable(platform_menu_leak_test ${proof_dir}/menu_leak_test.cpp ${proof_dir}/proof_screen.cpp
               ${proof_dir}/proof_leak_suppressions.cpp)
target_link_libraries(platform_menu_leak_test PRIVATE tintor_platform tintor_resources
                      GTest::gtest_main)
gtest_discover_tests(platform_menu_leak_test DISCOVERY_TIMEOUT 60 TEST_FILTER "MenuLeak.*"
                     PROPERTIES TIMEOUT 600
                     ENVIRONMENT "TINTOR_REGISTRY=/nonexistent/tintor-tests.reg")
gtest_discover_tests(platform_menu_leak_test DISCOVERY_TIMEOUT 60 TEST_FILTER "MenuHeap.*"
                     PROPERTIES TIMEOUT 600 LABELS "no-asan"
                     ENVIRONMENT "TINTOR_REGISTRY=/nonexistent/tintor-tests.reg")

# The real window: the probe program under Xvfb, clicked by xdotool.
add_executable(platform_window_probe ${proof_dir}/sdl_window_test/probe_app.cpp
               ${proof_dir}/proof_screen.cpp)
target_link_libraries(platform_window_probe PRIVATE tintor_main tintor_platform tintor_resources)
add_test(NAME platform_sdl_window
         COMMAND ${proof_dir}/sdl_window_test/sdl_window_test.sh
                 $<TARGET_FILE:platform_window_probe>)
set_tests_properties(platform_sdl_window PROPERTIES LABELS "no-asan;e2e" TIMEOUT 120)
