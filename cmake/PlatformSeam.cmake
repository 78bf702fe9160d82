# Every build checks the platform seam before compiling the game: see
# check-platform-seam.cmake.
add_custom_target(platform_seam
                  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}/src -P
                          ${CMAKE_CURRENT_LIST_DIR}/check-platform-seam.cmake
                  COMMENT "Checking that only the platform backends include window, input and sound headers")
