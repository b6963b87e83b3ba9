# Not a benchmark: the made themes' figures over a fixed set of sources
# (share with a theme, weakest contrast for each eye, harmony, the windows'
# chroma), printed to compare the maker before and after a change.
add_executable(maker_survey ${CMAKE_CURRENT_LIST_DIR}/maker_survey.cpp)
target_link_libraries(maker_survey PRIVATE tintor_model)
