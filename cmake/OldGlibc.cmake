# Makes every program of a cross build load on a C library older than the
# toolchain's: each reference that would bind to a symbol version above
# VERSION (e.g. GLIBC_2.4) is redirected at link time (--wrap) to compat/,
# which binds the old version or stands in for what the old library lacks.
# The ABI check (scripts/check-handheld-abi) proves the result.
#
#   zynthra_old_glibc(VERSION WRAP name... SOURCES compat-file... LIBRARIES soname...)
#
# SOURCES are the compat/ files besides the start code and glibc_compat.c;
# LIBRARIES the old library's homes of what the new one keeps in libc, named
# whether or not the linker sees a use.
include_guard(GLOBAL)

function(zynthra_old_glibc version)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "WRAP;SOURCES;LIBRARIES")
  set(compat ${PROJECT_SOURCE_DIR}/compat)
  list(TRANSFORM arg_SOURCES PREPEND ${compat}/)
  add_library(zynthra_compat_runtime OBJECT ${compat}/start.c ${compat}/glibc_compat.c ${arg_SOURCES})
  set_target_properties(zynthra_compat_runtime PROPERTIES C_STANDARD 11 C_STANDARD_REQUIRED ON)
  target_compile_definitions(zynthra_compat_runtime PRIVATE OLD_GLIBC="${version}")
  target_compile_options(zynthra_compat_runtime PRIVATE -Wall -Wextra)

  # Every program, and only programs: shared libraries (the virtual pad) are
  # loaded by a program and bind to what it brings.
  set(is_program "$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>")
  list(TRANSFORM arg_WRAP PREPEND "LINKER:--wrap=" OUTPUT_VARIABLE wraps)
  list(TRANSFORM arg_LIBRARIES PREPEND "-l:" OUTPUT_VARIABLE libraries)
  list(JOIN libraries "," libraries)
  add_link_options("$<${is_program}:${wraps}>"
                   "$<${is_program}:LINKER:--push-state,--no-as-needed,${libraries},--pop-state>")
  link_libraries("$<${is_program}:zynthra_compat_runtime>")
endfunction()
