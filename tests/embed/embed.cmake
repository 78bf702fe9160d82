# cmake -DZYNTHRA_SOURCE_DIR=... -DOUTER_SOURCE_DIR=... -DOUTER_BINARY_DIR=...
#       -DOUTER_GENERATOR=... [-DOUTER_LAUNCHER=...] -P embed.cmake
# The packages only tests, benchmarks and tools need are disabled, so the
# embedded tree must not ask for them.
file(REMOVE_RECURSE ${OUTER_BINARY_DIR})
set(configure ${CMAKE_COMMAND} -S ${OUTER_SOURCE_DIR} -B ${OUTER_BINARY_DIR} -G ${OUTER_GENERATOR}
    -DZYNTHRA_SOURCE_DIR=${ZYNTHRA_SOURCE_DIR} -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON
    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON -DCMAKE_DISABLE_FIND_PACKAGE_Freetype=ON)
if(OUTER_LAUNCHER)
  list(APPEND configure -DCMAKE_CXX_COMPILER_LAUNCHER=${OUTER_LAUNCHER} -DCMAKE_C_COMPILER_LAUNCHER=${OUTER_LAUNCHER})
endif()

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "embed: ${what} failed (${status})")
  endif()
endfunction()

run("configuring the outer project" ${configure})
run("building the outer program" ${CMAKE_COMMAND} --build ${OUTER_BINARY_DIR} --target outer)
run("running the outer program" ${OUTER_BINARY_DIR}/outer)
