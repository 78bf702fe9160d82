# Shared set-up for every GoogleTest executable, here and under tools/.
find_package(GTest REQUIRED)
include(GoogleTest)

# A GoogleTest executable; each of its tests becomes one ctest entry.
function(zynthra_gtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support ${PROJECT_SOURCE_DIR}/src)
  target_compile_definitions(${name} PRIVATE ZYNTHRA_DATA_DIR="${ZYNTHRA_DATA_DIR}")
  zynthra_warnings(${name})
  # Prefixed with the executable, so the two rule sets' runs of a test stay apart.
  gtest_discover_tests(${name} TEST_PREFIX "${name}/" DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# Game-logic tests over one rule set's core, with the recording sound double.
function(zynthra_logic_test name core)
  zynthra_gtest(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE ${core} zynthra_sound_double)
endfunction()
