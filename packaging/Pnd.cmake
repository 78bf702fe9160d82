# The handheld's package, zynthra.pnd, in the top of the handheld build folder
# (cmake/handheld-toolchain.cmake):
#   cmake --build build-handheld --target zynthra_pnd
# One package with both programs as two applications: the data files, which
# are nearly all of it, are shipped once, and both applications share one
# writable folder, so they keep one config.txt and one high-score table, as the
# two programs do on a desktop. Its root holds the programs, the data, the
# icons and the launch scripts; the handheld runs the scripts there. The root
# holds PXML.xml too: unpacked into a folder of its own, the package is an
# application folder, where each application shows its own icon.
include_guard(GLOBAL)

string(REPLACE "." ";" version_parts ${ZYNTHRA_VERSION})
list(GET version_parts 0 PND_VERSION_MAJOR)
list(GET version_parts 1 PND_VERSION_MINOR)
list(GET version_parts 2 PND_VERSION_PATCH)

set(pnd_sources ${ZYNTHRA_PACKAGING_DIR}/pnd)
set(pnd_work ${ZYNTHRA_PACKAGING_OUT}/pnd)
set(pnd_root ${pnd_work}/root)
set(ZYNTHRA_PND ${PROJECT_BINARY_DIR}/zynthra.pnd)
configure_file(${pnd_sources}/PXML.xml.in ${pnd_work}/PXML.xml @ONLY)

file(GLOB pnd_data CONFIGURE_DEPENDS ${ZYNTHRA_DATA_DIR}/*)
set(icons ${ZYNTHRA_PACKAGING_OUT}/zynthra.png ${ZYNTHRA_PACKAGING_OUT}/zynthra-classic.png)
add_custom_command(
  OUTPUT ${ZYNTHRA_PND}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${pnd_root}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${pnd_root}
  COMMAND ${CMAKE_STRIP} -o ${pnd_root}/zynthra $<TARGET_FILE:zynthra>
  COMMAND ${CMAKE_STRIP} -o ${pnd_root}/zynthra-classic $<TARGET_FILE:zynthra-classic>
  COMMAND ${CMAKE_COMMAND} -E copy ${pnd_data} ${icons} ${pnd_sources}/zynthra.sh ${pnd_work}/PXML.xml ${pnd_root}
  COMMAND ${CMAKE_COMMAND} -E create_symlink zynthra.sh ${pnd_root}/zynthra-classic.sh
  COMMAND ${pnd_sources}/make-pnd ${ZYNTHRA_PND} ${pnd_root} ${pnd_work}/PXML.xml ${ZYNTHRA_PACKAGING_OUT}/zynthra.png
  DEPENDS zynthra zynthra-classic ${pnd_data} ${icons} ${pnd_sources}/zynthra.sh ${pnd_sources}/make-pnd
          ${pnd_work}/PXML.xml
  COMMENT "Packing zynthra.pnd"
  VERBATIM)
add_custom_target(zynthra_pnd DEPENDS ${ZYNTHRA_PND})
