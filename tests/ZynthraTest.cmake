# Shared set-up for every GoogleTest executable, here and under tools/.
find_package(GTest REQUIRED)
include(GoogleTest)

# A GoogleTest executable; each of its tests becomes one ctest entry.
function(zynthra_gtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support ${ZYNTHRA_INCLUDE_DIRS})
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

# Counts a target's GL calls (tests/support/gl_call_counter.h): every entry point the counter
# defines is wrapped at link time, the names read from the counter's own source.
function(zynthra_count_gl_calls target)
  set(counter ${PROJECT_SOURCE_DIR}/tests/support/gl_call_counter.cpp)
  file(STRINGS ${counter} lines REGEX "^(COUNTED\\([^,]+, gl|extern \"C\" void __wrap_gl)")
  set(wraps "")
  foreach(line ${lines})
    string(REGEX MATCH "gl[A-Za-z0-9]+" name "${line}")
    list(APPEND wraps "-Wl,--wrap=${name}")
  endforeach()
  target_sources(${target} PRIVATE ${counter})
  target_link_options(${target} PRIVATE ${wraps})
endfunction()
